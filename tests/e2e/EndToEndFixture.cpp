#include "tests/e2e/EndToEndFixture.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include <glbinding/gl/gl.h>

namespace Orvane::Lumisk::EndToEnd {
namespace {

PF_Fixed Fixed(double value) {
  return PF_Fixed(std::lround(value * 65536.0));
}

}  // namespace

Reference::ReferenceSettings ExpectedSettings(const EffectValues& values, const Reference::Image* customMap) {
  const double den = values.den == 0 ? 1.0 : double(values.den);
  Reference::ReferenceSettings settings;
  settings.blurAmount = int(std::round(values.strength / den));
  settings.quality = values.quality - 1;
  settings.lensShape = values.lens - 1;
  settings.mapType = values.mapType - 1;
  // A fixed slider reaches the renderer in whole units only.
  settings.focalDistance = std::floor(values.focal) / 100.0;
  settings.showBlurMap = values.show;
  settings.invert = values.invert;
  settings.feather = std::round(values.feather / den);
  settings.centerX = values.centerX;
  settings.centerY = values.centerY;
  settings.scaleX = values.scaleX / 100.0;
  settings.scaleY = values.scaleY / 100.0;
  settings.rotation = values.rotation;
  settings.customMap = customMap;
  return settings;
}

TestHost::World MakeTestFrame(int width, int height) {
  TestHost::World world = TestHost::World::Make8(width, height, 8);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      PF_Pixel8& p = world.Pixel8(x, y);
      p.alpha = uint8_t(255 - (x * 3 + y) % 64);
      p.red = uint8_t(20 + 2 * x);
      p.green = uint8_t(10 + 3 * y);
      p.blue = uint8_t(x > width * 2 / 3 ? 230 : 40);
      if ((x % 11 == 3 && y % 9 == 4) || (x == width / 2 && y == height / 2)) p = PF_Pixel8{255, 255, 255, 255};
    }
  return world;
}

TestHost::World MakeMapLayer(int width, int height) {
  TestHost::World world = TestHost::World::Make8(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t level = uint8_t(255 * x / std::max(1, width - 1));
      world.Pixel8(x, y) = PF_Pixel8{255, level, level, uint8_t(255 - level)};
    }
  return world;
}

Reference::Image ToReference(const TestHost::World& world) {
  std::vector<uint8_t> bytes;
  bytes.reserve(size_t(world.Width()) * size_t(world.Height()) * 4);
  for (int y = 0; y < world.Height(); ++y)
    for (int x = 0; x < world.Width(); ++x) {
      const PF_Pixel8& p = world.Pixel8(x, y);
      bytes.insert(bytes.end(), {p.alpha, p.red, p.green, p.blue});
    }
  return Reference::Image::FromArgb8(world.Width(), world.Height(), bytes);
}

int LargestDifference(const TestHost::World& world, const Reference::Image& expected, std::string* where) {
  const std::vector<uint8_t> bytes = expected.ToArgb8();
  int worst = 0;
  for (int y = 0; y < std::min(world.Height(), expected.height); ++y)
    for (int x = 0; x < std::min(world.Width(), expected.width); ++x) {
      const PF_Pixel8& p = world.Pixel8(x, y);
      const uint8_t got[4] = {p.alpha, p.red, p.green, p.blue};
      for (int c = 0; c < 4; ++c) {
        const int d =
            std::abs(int(got[c]) - int(bytes[(size_t(y) * size_t(expected.width) + size_t(x)) * 4 + size_t(c)]));
        if (d > worst) {
          worst = d;
          std::ostringstream text;
          text << "(" << x << ", " << y << ") channel " << c << ": got " << int(got[c]) << ", expected "
               << int(bytes[(size_t(y) * size_t(expected.width) + size_t(x)) * 4 + size_t(c)]);
          if (where) *where = text.str();
        }
      }
    }
  return worst;
}

LiveObjects CountLiveObjects() {
  LiveObjects live;
  for (gl::GLuint name = 1; name <= 512; ++name) {
    live.textures += gl::glIsTexture(name) == gl::GL_TRUE;
    live.renderbuffers += gl::glIsRenderbuffer(name) == gl::GL_TRUE;
    live.framebuffers += gl::glIsFramebuffer(name) == gl::GL_TRUE;
  }
  return live;
}

EndToEndTest::EndToEndTest() = default;

void EndToEndTest::SetUp() {
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
}

void EndToEndTest::TearDown() {
  host.Params().SetLayer(6, nullptr);
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  EXPECT_EQ(glContexts.NotRestoredCount(), 0) << "the host's GL context was not current after a command";
}

void EndToEndTest::SetValues(const EffectValues& values) {
  TestHost::ParameterStore& params = host.Params();
  params.SetPopup(1, values.lens);
  params.SetSlider(2, values.strength);
  params.SetCheckbox(4, values.show);
  params.SetPopup(5, values.mapType);
  params.SetSlider(7, values.feather);
  params.SetPoint(8, Fixed(values.centerX), Fixed(values.centerY));
  params.SetFloatSlider(9, values.scaleX);
  params.SetFloatSlider(10, values.scaleY);
  params.SetAngle(11, Fixed(values.rotation));
  params.SetFixedSlider(12, Fixed(values.focal));
  params.SetCheckbox(13, values.invert);
  params.SetPopup(15, values.quality);
  host.SetDownsample(PF_RationalScale{1, values.den}, PF_RationalScale{1, values.den});
}

PF_Err EndToEndTest::RenderFrame(TestHost::World& input, TestHost::World& output) {
  host.SetInputLayer(input);
  host.SetOutput(output);
  const PF_Err result = host.Render();
  host.SetInputLayer(restingInput);
  host.SetOutput(restingOutput);
  return result;
}

void EndToEndTest::ExpectDefaultRenderMatches() {
  SetValues(EffectValues{});
  TestHost::World input = MakeTestFrame(kWidth, kHeight);
  TestHost::World output = TestHost::World::Make8(kWidth, kHeight);
  ASSERT_EQ(RenderFrame(input, output), PF_Err_NONE);
  const Reference::Image expected =
      Reference::RenderReference(ToReference(input), ExpectedSettings(EffectValues{}, nullptr));
  std::string where;
  EXPECT_LE(LargestDifference(output, expected, &where), Reference::kToleranceLevels) << where;
}

}  // namespace Orvane::Lumisk::EndToEnd
