#include "render/RowPrefixSumPass.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <glbinding/gl/gl.h>

#include "gl/OpenglShader.h"
#include "gl/RenderTarget.h"
#include "gl/ScopedTexture.h"
#include "render/FullscreenProgram.h"
#include "render/shaders/PrefixSumSources.h"

namespace Orvane::Lumisk {

using namespace gl;

RowPrefixSumPass::RowPrefixSumPass()
    : prepareProgram(MakeFullscreenProgram(PrefixPrepareFragmentSource)),
      scanProgram(MakeFullscreenProgram(PrefixScanFragmentSource)) {}

RowPrefixSumPass::~RowPrefixSumPass() = default;

std::int32_t RowPrefixSumPass::LevelCount(std::int32_t cells, std::int32_t gridWidth) {
  const std::int64_t reach = std::max(cells, gridWidth);
  std::int32_t levels = 1;
  while ((std::int64_t{1} << levels) < reach) ++levels;
  return levels;
}

void RowPrefixSumPass::EnsureTextures(const Vec2i& newSize) {
  if (!(newSize != size) && textures[0].Get() != 0) return;
  // Both go first: a size the GL cannot hold throws below and leaves the
  // pass with none, so that the next Run makes them again.
  textures[0].Reset();
  textures[1].Reset();
  const Vec2d textureSize(newSize.x, newSize.y);
  ScopedTexture first = RenderTarget::Instance()->CreateTexture(textureSize, TextureFilter::Linear);
  textures[1] = RenderTarget::Instance()->CreateTexture(textureSize, TextureFilter::Linear);
  textures[0] = std::move(first);
  size = newSize;
}

void RowPrefixSumPass::BeginDraw(OpenglShader& program) {
  RenderTarget::Instance()->BeginTexturePass(textures[current].Get(), Vec2d(size.x, size.y), 0);
  program.Use();
  FullscreenQuad::EnableAttributes(program);
}

void RowPrefixSumPass::SetViewSize(OpenglShader& program) const {
  program.SetUniformVec2("viewSize", Vec2d(size.x, size.y));
}

void RowPrefixSumPass::FinishDraw(OpenglShader& program, GLuint input) {
  program.SetTexture("t0", GL_TEXTURE_2D, input, 0);
  FullscreenQuad::Draw();
  FullscreenQuad::DisableAttributes(program);
  RenderTarget::Instance()->EndTexturePass();
  current = 1 - current;
}

void RowPrefixSumPass::Run(GLuint sourceTexture, const Vec2d* viewSize, std::int32_t maxDimension,
                           std::int32_t stepRequest) {
  step = std::clamp(stepRequest, 1, 4);
  const auto cells = [this](double pixels) { return static_cast<std::int32_t>(std::ceil(pixels / step)); };
  const Vec2i newSize(cells(viewSize->x), cells(viewSize->y));
  maxLevel = LevelCount(cells(maxDimension), newSize.x);
  EnsureTextures(newSize);
  quad.Bind();

  BeginDraw(*prepareProgram);
  SetViewSize(*prepareProgram);
  prepareProgram->SetUniform1f("jfstep", static_cast<float>(step));
  FinishDraw(*prepareProgram, sourceTexture);

  for (std::int32_t level = 0; level <= maxLevel; ++level) {
    BeginDraw(*scanProgram);
    scanProgram->SetUniform1i("level", level);
    scanProgram->SetUniform1i("maxLevel", maxLevel);
    SetViewSize(*scanProgram);
    FinishDraw(*scanProgram, textures[1 - current].Get());
  }
  FullscreenQuad::Unbind();
}

}  // namespace Orvane::Lumisk
