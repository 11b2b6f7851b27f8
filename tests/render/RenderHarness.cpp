#include "RenderHarness.h"

#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>

#include <glbinding/gl/gl.h>

#include "gl/RenderTarget.h"
#include "render/BlurMapPass.h"

namespace Orvane::Lumisk::Testing {

using namespace gl;

GLuint UploadImage(const Reference::Image& image) {
  std::vector<float> values;
  values.reserve(image.texels.size() * 4);
  for (const Reference::Texel& t : image.texels) values.insert(values.end(), t.begin(), t.end());
  return MakeFloatTexture(image.width, image.height, values);
}

void ApplySettings(BlurRenderer& renderer, const Reference::ReferenceSettings& settings) {
  renderer.SetLensShape(settings.lensShape);
  renderer.blurAmount = settings.blurAmount;
  renderer.quality = settings.quality;
  renderer.blurMapType = settings.mapType;
  renderer.focalDistance = settings.focalDistance;
  renderer.showBlurMap = settings.showBlurMap;
  BlurMapPass& map = renderer.MapPass();
  map.feather = settings.feather;
  map.center = Vec2d(settings.centerX, settings.centerY);
  map.scaleX = settings.scaleX;
  map.scaleY = settings.scaleY;
  map.rotation = settings.rotation;
  map.invert = settings.invert;
}

Reference::Image RenderWithGl(BlurRenderer& renderer, const Reference::Image& input,
                              const Reference::ReferenceSettings& settings) {
  ApplySettings(renderer, settings);
  RenderTarget* target = RenderTarget::Instance();
  target->Setup(input.width, input.height, false);
  target->BeginFrame(false, false);
  const GLuint source = UploadImage(input);
  if (settings.mapType == 5 && settings.customMap != nullptr)
    renderer.SetBlurMapTexture(ScopedTexture(UploadImage(*settings.customMap)));
  renderer.Render(source, Vec2d(input.width, input.height));
  glDeleteTextures(1, &source);
  RenderTarget::Instance()->Finish(1.0f);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  const std::vector<float> pixels = ReadPixelsFloat(input.width, input.height);
  Reference::Image output(input.width, input.height);
  for (size_t i = 0; i < output.texels.size(); ++i) {
    for (size_t c = 0; c < 4; ++c) output.texels[i][c] = pixels[i * 4 + c];
  }
  return output;
}

std::string LevelDifference::Describe() const {
  std::ostringstream text;
  text << levels << " levels at (" << x << ", " << y << ") channel " << channel;
  return text.str();
}

LevelDifference MaxLevelDifference(const Reference::Image& a, const Reference::Image& b) {
  LevelDifference worst;
  if (a.width != b.width || a.height != b.height) {
    worst.levels = 256;
    return worst;
  }
  const std::vector<uint8_t> ab = a.ToArgb8();
  const std::vector<uint8_t> bb = b.ToArgb8();
  for (size_t i = 0; i < ab.size(); ++i) {
    const int d = std::abs(static_cast<int>(ab[i]) - static_cast<int>(bb[i]));
    if (d > worst.levels) {
      worst.levels = d;
      worst.x = static_cast<int>((i / 4) % static_cast<size_t>(a.width));
      worst.y = static_cast<int>((i / 4) / static_cast<size_t>(a.width));
      worst.channel = static_cast<int>(i % 4);
    }
  }
  return worst;
}

Reference::Image UniformImage(int width, int height, float value) {
  return Reference::Image(width, height, {1.0f, value, value, value});
}

Reference::Image NoiseImage(int width, int height, unsigned seed, int low, int high) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> level(low, high);
  Reference::Image image(width, height);
  for (Reference::Texel& t : image.texels) {
    t[0] = 1.0f;
    for (size_t c = 1; c < 4; ++c) t[c] = static_cast<float>(level(random)) / 255.0f;
  }
  return image;
}

}  // namespace Orvane::Lumisk::Testing

namespace Orvane::Lumisk::Testing {

std::vector<float> ReadTexture(GLuint texture, int width, int height) {
  GLuint framebuffer = 0;
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  std::vector<float> pixels = ReadPixelsFloat(width, height);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteFramebuffers(1, &framebuffer);
  return pixels;
}

void RendererTest::TearDown() {
  renderer.reset();
  RenderTarget::Instance()->Release();
  GlContextTest::TearDown();
}

}  // namespace Orvane::Lumisk::Testing
