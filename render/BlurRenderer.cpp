#include "render/BlurRenderer.h"

#include <algorithm>
#include <utility>

#include <glbinding/gl/gl.h>

#include "gl/OpenglShader.h"
#include "gl/RenderTarget.h"
#include "render/BlurMapPass.h"
#include "render/FullscreenProgram.h"
#include "render/RowPrefixSumPass.h"
#include "render/shaders/BokehFragmentSources.h"

namespace Orvane::Lumisk {

using namespace gl;

namespace {

const char* BokehFragmentSource(std::int32_t shape) {
  switch (shape) {
    case LensCircular:
      return BokehCircularFragmentSource;
    case LensHexagon:
      return BokehHexagonFragmentSource;
    default:
      return BokehPentagonFragmentSource;
  }
}

float Flag(bool value) {
  return value ? 1.0f : 0.0f;
}

// Deletes the map texture the renderer holds when a render ends, also when
// one of its steps throws, so no map outlives the render it was made for.
class MapTextureRelease {
public:
  explicit MapTextureRelease(BlurRenderer& renderer) : owner(renderer) {}
  ~MapTextureRelease() { owner.SetBlurMapTexture(ScopedTexture()); }
  MapTextureRelease(const MapTextureRelease&) = delete;
  MapTextureRelease& operator=(const MapTextureRelease&) = delete;

private:
  BlurRenderer& owner;
};

}  // namespace

BlurRenderer::BlurRenderer()
    : prefixSumPass(std::make_unique<RowPrefixSumPass>()), blurMapPass(std::make_unique<BlurMapPass>()) {}

// A map left by parameters read for a render that never ran goes with the
// renderer (blurMapTexture's owner).
BlurRenderer::~BlurRenderer() = default;

void BlurRenderer::SetBlurMapTexture(ScopedTexture texture) {
  blurMapTexture = std::move(texture);
}

void BlurRenderer::SetLensShape(std::int32_t shape) {
  if (shape == lensShape && bokehProgram) return;
  bokehProgram.reset();
  lensShape = shape;
  bokehProgram = MakeFullscreenProgram(BokehFragmentSource(shape));
}

void BlurRenderer::SetUniforms(const RowPrefixSumPass& prefix) {
  bokehProgram->SetUniform1f("enableBlurMap", Flag(blurMapType != BokehMapNone));
  bokehProgram->SetUniform1f("invertValue", Flag(blurMapPass->invert));
  bokehProgram->SetUniform1f("showBlurMap", Flag(showBlurMap));
  bokehProgram->SetUniform1f("blurAmount", static_cast<float>(blurAmount));
  bokehProgram->SetUniform1f("focalDistance", static_cast<float>(focalDistance));
  bokehProgram->SetUniform1f("JDStep", static_cast<float>(prefix.Step()));
  bokehProgram->SetUniform2f("jfMapSize", static_cast<float>(prefix.Size().x), static_cast<float>(prefix.Size().y));
}

void BlurRenderer::Render(GLuint sourceTexture, const Vec2d& viewSize) {
  const MapTextureRelease releaseMap(*this);
  const auto maxDimension = static_cast<std::int32_t>(std::max(viewSize.x, viewSize.y));
  prefixSumPass->Run(sourceTexture, &viewSize, maxDimension, quality + 1);
  if (IsGeneratedMapType(blurMapType)) {
    SetBlurMapTexture(ScopedTexture());
    SetBlurMapTexture(RenderTarget::Instance()->CreateTexture(viewSize, TextureFilter::Linear));
    blurMapPass->Render(viewSize, BlurMapTexture(), blurMapType);
  }

  if (!bokehProgram) SetLensShape(lensShape);
  bokehProgram->Use();
  quad.Bind();
  FullscreenQuad::EnableAttributes(*bokehProgram);
  SetUniforms(*prefixSumPass);
  bokehProgram->SetTexture("t0", GL_TEXTURE_2D, sourceTexture, 0);
  bokehProgram->SetTexture("t1", GL_TEXTURE_2D, prefixSumPass->ResultTexture(), 1);
  bokehProgram->SetTexture("blurMap", GL_TEXTURE_2D, BlurMapTexture(), 2);
  FullscreenQuad::Draw();
  FullscreenQuad::DisableAttributes(*bokehProgram);
  FullscreenQuad::Unbind();
}

}  // namespace Orvane::Lumisk
