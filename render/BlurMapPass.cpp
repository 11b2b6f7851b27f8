#include "render/BlurMapPass.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include <glbinding/gl/gl.h>

#include "gl/OpenglShader.h"
#include "gl/RenderTarget.h"
#include "render/FullscreenProgram.h"
#include "render/RenderEnums.h"
#include "render/shaders/BlurMapFragmentSources.h"

namespace Orvane::Lumisk {

using namespace gl;

namespace {

// Determinants below this are taken as a flat placement.
constexpr double kFlatPlacement = 1e-12;

}  // namespace

BlurMapPass::BlurMapPass() {
  center.Zero();
}

BlurMapPass::~BlurMapPass() = default;

std::string BlurMapPass::FragmentSource(std::int32_t mapType) {
  const char* generator = FindBlurMapGenerator(mapType);
  std::ostringstream source;
  source << BlurMapFragmentHead << (generator != nullptr ? generator : "") << BlurMapFragmentTail;
  return source.str();
}

void BlurMapPass::SetMapType(std::int32_t mapType) {
  if (mapType == programType && mapProgram) return;
  mapProgram.reset();
  programType = mapType;
  mapProgram = MakeFullscreenProgram(FragmentSource(mapType));
}

Affine2D BlurMapPass::Transform(std::int32_t mapType, const Vec2d& viewSize) const {
  // The circle's scale enters as its radii, so its frame is not scaled.
  const Vec2d shapeScale = mapType == BokehMapCircle ? Vec2d(1.0, 1.0) : Vec2d(scaleX, scaleY);
  Affine2D placement(true);
  placement.Compose(viewSize.Scaled(0.5), center, shapeScale, rotation);
  // Below Invert's usual floor of 1e-6 a placement still has its exact
  // inverse, down to a determinant of 1e-12.
  Affine2D inverse(true);
  if (placement.Invert(inverse, kFlatPlacement)) return inverse;
  // Flat: a zero linear part that sends every pixel to one point.
  Affine2D collapsed(false);
  collapsed.tx = placement.b * placement.ty - placement.d * placement.tx;
  collapsed.ty = placement.c * placement.tx - placement.a * placement.ty;
  return collapsed;
}

void BlurMapPass::SetUniforms(OpenglShader* program, Vec2d viewSize) {
  const auto w = static_cast<float>(viewSize.x);
  const auto h = static_cast<float>(viewSize.y);
  const bool bands = programType == BokehMapLinear2 || programType == BokehMapLinear3;
  const auto r = static_cast<float>(std::max(viewSize.x, viewSize.y) / 1.5 * 0.5);
  program->SetUniform1f("feather", static_cast<float>(std::max(feather, 0.5)));
  program->SetUniform2f("scale", static_cast<float>(scaleX), static_cast<float>(scaleY));
  const Affine2D transform = Transform(programType, viewSize);
  program->SetUniformAffineArray("transform", &transform, 1);
  if (bands) {
    program->SetUniform2f("linearPoint1", w * 0.5f, 0.0f);
    program->SetUniform2f("linearPoint2", w * 0.5f, h);
  } else {
    program->SetUniform2f("linearPoint1", w * 0.5f, h * 0.5f);
    program->SetUniform2f("linearPoint2", r, r);
  }
}

void BlurMapPass::Render(Vec2d viewSize, GLuint target, std::int32_t mapType) {
  if (!IsGeneratedMapType(mapType)) return;
  SetMapType(mapType);
  RenderTarget::Instance()->BeginTexturePass(target, viewSize, 0);
  mapProgram->Use();
  quad.Bind();
  FullscreenQuad::EnableAttributes(*mapProgram);
  mapProgram->SetUniformVec2("texSize", viewSize);
  SetUniforms(mapProgram.get(), viewSize);
  FullscreenQuad::Draw();
  FullscreenQuad::DisableAttributes(*mapProgram);
  FullscreenQuad::Unbind();
  RenderTarget::Instance()->EndTexturePass();
  glFinish();
}

}  // namespace Orvane::Lumisk
