#include "gl/TextureParameters.h"

#include <glbinding/gl/gl.h>

using namespace gl;

namespace Orvane::Lumisk {

void SetTextureParameters(const TextureFilters& filters) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(filters.magnification));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filters.minification));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(GL_CLAMP_TO_EDGE));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(GL_CLAMP_TO_EDGE));
}

}  // namespace Orvane::Lumisk
