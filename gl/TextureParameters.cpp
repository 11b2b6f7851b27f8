#include "gl/TextureParameters.h"

#include <glbinding/gl/gl.h>

using namespace gl;

namespace Orvane::Lumisk {

TextureFilter TextureFilterOf(bool linear, bool mipmap) {
  if (mipmap) {
    return linear ? TextureFilter::LinearMipmap : TextureFilter::NearestMipmap;
  }
  return linear ? TextureFilter::Linear : TextureFilter::Nearest;
}

TextureFilters FiltersOf(TextureFilter filter) {
  switch (filter) {
    case TextureFilter::Nearest:
      return {GL_NEAREST, GL_NEAREST};
    case TextureFilter::Linear:
      return {GL_LINEAR, GL_LINEAR};
    case TextureFilter::NearestMipmap:
      return {GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST};
    case TextureFilter::LinearMipmap:
      break;
  }
  return {GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR};
}

void SetTextureParameters(const TextureFilters& filters) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(filters.magnification));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filters.minification));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(GL_CLAMP_TO_EDGE));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(GL_CLAMP_TO_EDGE));
}

}  // namespace Orvane::Lumisk
