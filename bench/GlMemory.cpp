#include "bench/GlMemory.h"

#include <glbinding/gl33core/gl.h>

namespace Orvane::Lumisk::Bench {
namespace {

// Names above this are not probed; a render makes a few dozen objects.
constexpr gl::GLuint kLargestProbedName = 1024;

std::uint64_t BytesPerTexel(gl::GLint internalFormat) {
  switch (gl::GLenum(internalFormat)) {
    case gl::GL_RGBA32F:
      return 16;
    case gl::GL_RGBA16F:
    case gl::GL_RGBA16:
      return 8;
    case gl::GL_DEPTH_COMPONENT24:
    case gl::GL_DEPTH24_STENCIL8:
      return 4;
    case gl::GL_STENCIL_INDEX8:
      return 1;
    default:
      return 4;  // RGBA8 and the unsized RGBA
  }
}

std::uint64_t TextureBytes(gl::GLuint name) {
  gl::glBindTexture(gl::GL_TEXTURE_2D, name);
  gl::GLint width = 0, height = 0, format = 0;
  gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_WIDTH, &width);
  gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_HEIGHT, &height);
  gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_INTERNAL_FORMAT, &format);
  return std::uint64_t(width) * std::uint64_t(height) * BytesPerTexel(format);
}

std::uint64_t RenderbufferBytes(gl::GLuint name) {
  gl::glBindRenderbuffer(gl::GL_RENDERBUFFER, name);
  gl::GLint width = 0, height = 0, format = 0, samples = 0;
  gl::glGetRenderbufferParameteriv(gl::GL_RENDERBUFFER, gl::GL_RENDERBUFFER_WIDTH, &width);
  gl::glGetRenderbufferParameteriv(gl::GL_RENDERBUFFER, gl::GL_RENDERBUFFER_HEIGHT, &height);
  gl::glGetRenderbufferParameteriv(gl::GL_RENDERBUFFER, gl::GL_RENDERBUFFER_INTERNAL_FORMAT, &format);
  gl::glGetRenderbufferParameteriv(gl::GL_RENDERBUFFER, gl::GL_RENDERBUFFER_SAMPLES, &samples);
  return std::uint64_t(width) * std::uint64_t(height) * BytesPerTexel(format) *
         std::uint64_t(samples > 0 ? samples : 1);
}

std::uint64_t BufferBytes(gl::GLuint name) {
  gl::glBindBuffer(gl::GL_COPY_READ_BUFFER, name);
  gl::GLint size = 0;
  gl::glGetBufferParameteriv(gl::GL_COPY_READ_BUFFER, gl::GL_BUFFER_SIZE, &size);
  return std::uint64_t(size);
}

}  // namespace

GlMemory MeasureGlMemory() {
  gl::GLint texture = 0, renderbuffer = 0, buffer = 0;
  gl::glGetIntegerv(gl::GL_TEXTURE_BINDING_2D, &texture);
  gl::glGetIntegerv(gl::GL_RENDERBUFFER_BINDING, &renderbuffer);
  gl::glGetIntegerv(gl::GL_COPY_READ_BUFFER_BINDING, &buffer);
  GlMemory memory;
  for (gl::GLuint name = 1; name <= kLargestProbedName; ++name) {
    if (gl::glIsTexture(name) == gl::GL_TRUE) memory.textureBytes += TextureBytes(name);
    if (gl::glIsRenderbuffer(name) == gl::GL_TRUE) memory.renderbufferBytes += RenderbufferBytes(name);
    if (gl::glIsBuffer(name) == gl::GL_TRUE) memory.bufferBytes += BufferBytes(name);
  }
  gl::glBindTexture(gl::GL_TEXTURE_2D, gl::GLuint(texture));
  gl::glBindRenderbuffer(gl::GL_RENDERBUFFER, gl::GLuint(renderbuffer));
  gl::glBindBuffer(gl::GL_COPY_READ_BUFFER, gl::GLuint(buffer));
  return memory;
}

}  // namespace Orvane::Lumisk::Bench
