// Owns one GL texture name until it is handed on, so that a texture made by a
// step that later throws is deleted on the way out. Textures are shared between
// the module's contexts, so the deletion may run in whichever one is current.
#pragma once

#include <glbinding/gl/gl.h>

namespace Orvane::Lumisk {

// A new texture name.
inline gl::GLuint GenerateTexture() {
  gl::GLuint name = 0;
  gl::glGenTextures(1, &name);
  return name;
}

class ScopedTexture {
 public:
  // Takes over `adopted` (0: owns nothing).
  explicit ScopedTexture(gl::GLuint adopted) : name(adopted) {}
  ~ScopedTexture() {
    if (name != 0) {
      gl::glDeleteTextures(1, &name);
    }
  }
  ScopedTexture(const ScopedTexture&) = delete;
  ScopedTexture& operator=(const ScopedTexture&) = delete;

  gl::GLuint Get() const { return name; }

  // Gives up ownership: the caller deletes the texture from now on.
  gl::GLuint Release() {
    gl::GLuint released = name;
    name = 0;
    return released;
  }

 private:
  gl::GLuint name = 0;
};

}  // namespace Orvane::Lumisk
