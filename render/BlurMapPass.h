#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <glbinding/gl/types.h>

#include "gl/Affine2D.h"
#include "gl/FullscreenQuad.h"
#include "gl/Vec2d.h"

namespace Orvane::Lumisk {

class OpenglShader;

// Draws a generated blur map (two or three bands, circle or ellipse, square
// or rectangle, with feather, centre, scale and rotation) into a texture of
// the view's size as (1, m, m, m), the host's channel order. Positions are in
// view pixels, pixel centres at half-integers, y down the rows.
class BlurMapPass {
public:
  BlurMapPass();
  ~BlurMapPass();

  BlurMapPass(const BlurMapPass&) = delete;
  BlurMapPass& operator=(const BlurMapPass&) = delete;

  // Draws map type 1..4 into target (a view-sized texture); any other type
  // returns at once without a GL call. Ends with glFinish.
  void Render(Vec2d viewSize, gl::GLuint target, std::int32_t mapType);
  // Makes mapProgram the program of the type (rebuilt only on a change).
  void SetMapType(std::int32_t mapType);
  // The uniforms of the map program in use, from the settings.
  void SetUniforms(OpenglShader* program, Vec2d viewSize);

  // The fragment source of a generated map type: head, generator, tail.
  static std::string FragmentSource(std::int32_t mapType);
  // The inverse of the shape's placement for the map type: view pixels to
  // the generator's frame. A placement with |det| below 1e-6 is inverted
  // exactly down to 1e-12; below that the linear part is zero.
  Affine2D Transform(std::int32_t mapType, const Vec2d& viewSize) const;

  std::int32_t ProgramType() const { return programType; }
  OpenglShader* MapProgram() const { return mapProgram.get(); }

  // Settings, written before every render.
  double feather = 0.0;  // soft-edge half-width in view pixels (at least 0.5 is used)
  Vec2d center;          // shape centre in view pixels
  double scaleX = 0.0;   // 1.0 is 100 %
  double scaleY = 0.0;
  double rotation = 0.0;  // degrees; positive turns +x towards +y
  bool invert = false;    // read by the gather, not by this pass

private:
  FullscreenQuad quad;
  std::int32_t programType = 0;
  std::unique_ptr<OpenglShader> mapProgram;
};

}  // namespace Orvane::Lumisk
