#include "gl/CopyPass.h"

#include <glbinding/gl/gl.h>

#include "gl/CopyPassSources.h"

using namespace gl;

namespace Orvane::Lumisk {

namespace {

// Two triangles over clip space, (x, y, z, u, v) per vertex, uv (0, 0) at clip
// (-1, -1) so that texture row 0 lands on framebuffer row 0.
constexpr float kQuad[6 * 5] = {
    1.0f,  -1.0f, 0.0f, 1.0f, 0.0f,  //
    1.0f,  1.0f,  0.0f, 1.0f, 1.0f,  //
    -1.0f, 1.0f,  0.0f, 0.0f, 1.0f,  //
    -1.0f, 1.0f,  0.0f, 0.0f, 1.0f,  //
    -1.0f, -1.0f, 0.0f, 0.0f, 0.0f,  //
    1.0f,  -1.0f, 0.0f, 1.0f, 0.0f,  //
};
constexpr GLint kVertexStride = 5 * sizeof(float);
constexpr std::intptr_t kUvOffset = 3 * sizeof(float);
constexpr GLuint kPositionLocation = 0;
constexpr GLuint kUvLocation = 1;

}  // namespace

CopyPass::CopyPass(bool bgarSwizzle)
    : shader(CopyVertexSource, bgarSwizzle ? CopyBgarFragmentSource : CopyArgbFragmentSource) {
  shader.AddAttribute("position", kPositionLocation);
  shader.AddAttribute("input_uv", kUvLocation);
}

CopyPass::~CopyPass() {
  vao.Release();
  if (vbo != 0) {
    glDeleteBuffers(1, &vbo);
  }
}

void CopyPass::MakeQuadBuffer() {
  glGenBuffers(1, &vbo);
  glBindBuffer(GL_ARRAY_BUFFER, vbo);
  glBufferData(GL_ARRAY_BUFFER, sizeof(kQuad), kQuad, GL_STATIC_DRAW);
}

void CopyPass::Draw(GLuint texture, float multiplier) {
  // The buffer is shared by every context; the vertex array is the current
  // context's own.
  if (vbo == 0) {
    MakeQuadBuffer();
  }
  shader.Use();
  vao.Bind([] {});
  glBindBuffer(GL_ARRAY_BUFFER, vbo);
  shader.SetAttribute3f(kPositionLocation, 0, kVertexStride);
  shader.SetAttribute2f(kUvLocation, kUvOffset, kVertexStride);
  shader.SetTexture("videoTexture", GL_TEXTURE_2D, texture, 0);
  shader.SetUniform1f("multiplier16bit", multiplier);
  glDrawArrays(GL_TRIANGLES, 0, 6);
  shader.DisableAttribute(kPositionLocation);
  shader.DisableAttribute(kUvLocation);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

}  // namespace Orvane::Lumisk
