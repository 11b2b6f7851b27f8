#pragma once

#include <cstddef>

#include <glbinding/gl/types.h>

#include "gl/PerContextObjects.h"
#include "gl/ScopedBuffer.h"

namespace Orvane::Lumisk {

class OpenglShader;

// Two counter-clockwise triangles over clip space, five floats per vertex
// (x, y, z, u, v), uv (0, 0) at clip (-1, -1).
constexpr int kFullscreenQuadVertexCount = 6;
constexpr int kFullscreenQuadStride = 20;               // bytes per vertex
constexpr std::ptrdiff_t kFullscreenQuadUvOffset = 12;  // bytes to u, v
constexpr std::size_t kFullscreenQuadBytes = 120;
extern const float kFullscreenQuadVertices[30];

// The quad of one pass (the copy pass, the renderer and each of its passes
// own one each): one buffer, visible in every context through list
// sharing, and a vertex array per context (vertex arrays are not shared).
// Attribute pointers are set by the pass's program after Bind, each draw.
class FullscreenQuad {
public:
  FullscreenQuad() = default;
  // Deletes the buffer and the vertex arrays (each in its own context,
  // see PerContextVertexArray).
  ~FullscreenQuad();

  FullscreenQuad(const FullscreenQuad&) = delete;
  FullscreenQuad& operator=(const FullscreenQuad&) = delete;

  // Makes the buffer at the first call, then binds the current context's
  // vertex array (made on its first use there) and the buffer as
  // GL_ARRAY_BUFFER.
  void Bind();
  // glDrawArrays(GL_TRIANGLES, 0, 6).
  static void Draw();
  // Binds vertex array 0 and GL_ARRAY_BUFFER 0.
  static void Unbind();

  // Binds "position" to location 0 and "input_uv" to location 1 of a
  // program not yet linked.
  static void AddAttributes(OpenglShader& program);
  // "position" and "input_uv" of the program in use from the bound buffer,
  // and their disabling after the draw.
  static void EnableAttributes(OpenglShader& program);
  static void DisableAttributes(OpenglShader& program);

private:
  ScopedBuffer vbo;
  PerContextVertexArray vertexArrays;
};

}  // namespace Orvane::Lumisk
