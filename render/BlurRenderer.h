#pragma once

#include <cstdint>
#include <memory>

#include <glbinding/gl/types.h>

#include "gl/FullscreenQuad.h"
#include "gl/ScopedTexture.h"
#include "gl/Vec2d.h"
#include "render/RenderEnums.h"

namespace Orvane::Lumisk {

class BlurMapPass;
class OpenglShader;
class RowPrefixSumPass;

// The module's one renderer: turns the uploaded input texture into the
// lens-blurred picture in the render target's current colour layer. It knows
// no host types; the effect shell writes the settings below before each
// render (UpdateFromParams). Construction makes no GL call.
class BlurRenderer {
public:
  BlurRenderer();
  // Deletes the quad, the gather program and both passes (GL objects in the
  // current context; global set-down has the root context current).
  ~BlurRenderer();

  BlurRenderer(const BlurRenderer&) = delete;
  BlurRenderer& operator=(const BlurRenderer&) = delete;

  // Reads the effect's parameters into the settings. The renderer knows no
  // host types: the effect shell defines this for its host records
  // (effect/ParamTransfer.h).
  template <typename InData, typename OutData>
  void UpdateFromParams(InData* in_data, OutData* out_data);

  // Makes the gather program the one of the shape (0 circular, 1 hexagon,
  // anything else pentagon); nothing is rebuilt for the shape it has.
  void SetLensShape(std::int32_t shape);

  // Prefix sums, the generated map (types 1..4), then the gather into the
  // framebuffer bound now, of view size W x H. Needs SetLensShape once, the
  // thread's context current and a colour layer pushed. Deletes
  // blurMapTexture (generated or custom) and sets it to 0, also when a
  // step throws.
  void Render(gl::GLuint sourceTexture, const Vec2d& viewSize);

  // Deletes the blur map held now and takes over `texture` (empty: none) as
  // the map of the next Render, which deletes it.
  void SetBlurMapTexture(ScopedTexture texture);
  gl::GLuint BlurMapTexture() const { return blurMapTexture.Get(); }

  std::int32_t LensShapeValue() const { return lensShape; }
  const OpenglShader* BokehProgram() const { return bokehProgram.get(); }
  RowPrefixSumPass& PrefixSumPass() { return *prefixSumPass; }
  BlurMapPass& MapPass() { return *blurMapPass; }

  // Settings, in the renderer's units.
  std::int32_t blurMapType = BokehMapNone;
  double focalDistance = 0.0;  // 0..1
  bool showBlurMap = false;
  std::int32_t blurAmount = 0;  // pixels of the frame being rendered
  std::int32_t quality = QualityHigh;

private:
  void SetUniforms(const RowPrefixSumPass& prefix);

  FullscreenQuad quad;
  std::unique_ptr<OpenglShader> bokehProgram;
  std::unique_ptr<RowPrefixSumPass> prefixSumPass;
  std::unique_ptr<BlurMapPass> blurMapPass;
  std::int32_t lensShape = LensCircular;
  // Owned from its upload or creation to the end of Render.
  ScopedTexture blurMapTexture;
};

}  // namespace Orvane::Lumisk
