#include "gl/FullscreenQuad.h"

#include <glbinding/gl/gl.h>

#include "gl/OpenglShader.h"

namespace Orvane::Lumisk {

using namespace gl;

const float kFullscreenQuadVertices[30] = {
    1.0f,  -1.0f, 0.0f, 1.0f, 0.0f, 1.0f,  1.0f,  0.0f, 1.0f, 1.0f, -1.0f, 1.0f,  0.0f, 0.0f, 1.0f,
    -1.0f, 1.0f,  0.0f, 0.0f, 1.0f, -1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 1.0f,  -1.0f, 0.0f, 1.0f, 0.0f,
};

static_assert(sizeof(kFullscreenQuadVertices) == kFullscreenQuadBytes, "six vertices of five floats");

FullscreenQuad::~FullscreenQuad() {
  vertexArrays.Release();
  vbo.Reset();
}

void FullscreenQuad::Bind() {
  if (vbo.Get() == 0) {
    vbo = ScopedBuffer::Generate();
    glBindBuffer(GL_ARRAY_BUFFER, vbo.Get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(kFullscreenQuadBytes), kFullscreenQuadVertices,
                 GL_STATIC_DRAW);
  }
  // The attribute pointers are set per draw by the program, so a new
  // vertex array needs no layout of its own.
  vertexArrays.Bind([] {});
  glBindBuffer(GL_ARRAY_BUFFER, vbo.Get());
}

void FullscreenQuad::Draw() {
  glDrawArrays(GL_TRIANGLES, 0, kFullscreenQuadVertexCount);
}

void FullscreenQuad::Unbind() {
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void FullscreenQuad::AddAttributes(OpenglShader& program) {
  program.AddAttribute("position", 0);
  program.AddAttribute("input_uv", 1);
}

void FullscreenQuad::EnableAttributes(OpenglShader& program) {
  program.SetAttribute3f(0, 0, kFullscreenQuadStride);
  program.SetAttribute2f(1, kFullscreenQuadUvOffset, kFullscreenQuadStride);
}

void FullscreenQuad::DisableAttributes(OpenglShader& program) {
  program.DisableAttribute(0);
  program.DisableAttribute(1);
}

}  // namespace Orvane::Lumisk
