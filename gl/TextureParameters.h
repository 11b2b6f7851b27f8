// The sampling state every texture of the module gets: its two filters and
// clamping to the edge in both directions.
#pragma once

#include <glbinding/gl/types.h>

namespace Orvane::Lumisk {

struct TextureFilters {
  gl::GLenum minification;
  gl::GLenum magnification;
};

// How a texture made by the module is sampled: nearest or linear, within
// one level or also between mipmap levels.
enum class TextureFilter {
  Nearest,
  Linear,
  NearestMipmap,  // linear within a level, the nearest level; nearest magnification
  LinearMipmap,   // linear within and between levels
};

// The filter of the two choices the GL runtime's interfaces take as flags.
TextureFilter TextureFilterOf(bool linear, bool mipmap);

// GL has no mipmapped magnification: the mipmapped filters keep their level
// filter for magnification.
TextureFilters FiltersOf(TextureFilter filter);

// Sets the filters of the texture bound to GL_TEXTURE_2D and clamps it to the
// edge in s and t.
void SetTextureParameters(const TextureFilters& filters);

}  // namespace Orvane::Lumisk
