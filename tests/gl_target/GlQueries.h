// Small GL state queries and pixel helpers shared by the render-target,
// copy-pass and transfer tests.
#pragma once

#include <cstdint>
#include <vector>

#include <glbinding/gl/gl.h>

namespace Orvane::Lumisk::Testing {

inline gl::GLint GetInteger(gl::GLenum name) {
  gl::GLint value = -1;
  gl::glGetIntegerv(name, &value);
  return value;
}

struct Viewport {
  gl::GLint x, y, width, height;
  bool operator==(const Viewport& other) const {
    return x == other.x && y == other.y && width == other.width && height == other.height;
  }
};

inline Viewport GetViewport() {
  gl::GLint values[4] = {-1, -1, -1, -1};
  gl::glGetIntegerv(gl::GL_VIEWPORT, values);
  return {values[0], values[1], values[2], values[3]};
}

// The name attached at colour attachment 0 of the bound draw framebuffer and
// its kind (GL_RENDERBUFFER, GL_TEXTURE or GL_NONE).
struct Attachment {
  gl::GLint type;
  gl::GLint name;
};

inline Attachment GetColourAttachment0() {
  Attachment attachment{-1, -1};
  gl::glGetFramebufferAttachmentParameteriv(gl::GL_DRAW_FRAMEBUFFER, gl::GL_COLOR_ATTACHMENT0,
                                            gl::GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &attachment.type);
  if (attachment.type != static_cast<gl::GLint>(gl::GL_NONE)) {
    gl::glGetFramebufferAttachmentParameteriv(gl::GL_DRAW_FRAMEBUFFER, gl::GL_COLOR_ATTACHMENT0,
                                              gl::GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attachment.name);
  }
  return attachment;
}

inline gl::GLint TextureLevelParameter(gl::GLuint texture, gl::GLenum name) {
  gl::GLint value = -1;
  gl::glBindTexture(gl::GL_TEXTURE_2D, texture);
  gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, name, &value);
  gl::glBindTexture(gl::GL_TEXTURE_2D, 0);
  return value;
}

inline gl::GLint TextureParameter(gl::GLuint texture, gl::GLenum name) {
  gl::GLint value = -1;
  gl::glBindTexture(gl::GL_TEXTURE_2D, texture);
  gl::glGetTexParameteriv(gl::GL_TEXTURE_2D, name, &value);
  gl::glBindTexture(gl::GL_TEXTURE_2D, 0);
  return value;
}

// Level 0 of a texture as RGBA floats, row 0 first.
inline std::vector<float> ReadTextureFloat(gl::GLuint texture) {
  const gl::GLint width = TextureLevelParameter(texture, gl::GL_TEXTURE_WIDTH);
  const gl::GLint height = TextureLevelParameter(texture, gl::GL_TEXTURE_HEIGHT);
  std::vector<float> texels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  gl::glBindTexture(gl::GL_TEXTURE_2D, texture);
  gl::glPixelStorei(gl::GL_PACK_ALIGNMENT, 1);
  gl::glGetTexImage(gl::GL_TEXTURE_2D, 0, gl::GL_RGBA, gl::GL_FLOAT, texels.data());
  gl::glPixelStorei(gl::GL_PACK_ALIGNMENT, 4);
  gl::glBindTexture(gl::GL_TEXTURE_2D, 0);
  return texels;
}

inline gl::GLint RenderbufferParameter(gl::GLuint renderbuffer, gl::GLenum name) {
  gl::GLint value = -1;
  gl::glBindRenderbuffer(gl::GL_RENDERBUFFER, renderbuffer);
  gl::glGetRenderbufferParameteriv(gl::GL_RENDERBUFFER, name, &value);
  return value;
}

inline gl::GLint AsInt(gl::GLenum value) {
  return static_cast<gl::GLint>(value);
}

// Every error the GL recorded since the last call, oldest first.
inline std::vector<gl::GLenum> TakeGlErrors() {
  std::vector<gl::GLenum> errors;
  for (gl::GLenum error = gl::glGetError(); error != gl::GL_NO_ERROR; error = gl::glGetError()) {
    errors.push_back(error);
  }
  return errors;
}

}  // namespace Orvane::Lumisk::Testing
