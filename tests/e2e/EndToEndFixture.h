// End-to-end tests: the built module loaded by the test host, rendering on
// real GL (llvmpipe) with the host's own GL context current around every
// command, compared with the independent CPU reference of the effect.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CpuReference.h"
#include "host/HostGlContexts.h"
#include "host/World.h"
#include "instruments/TestHost.h"
#include "tests/support/GlErrorCheck.h"

namespace Orvane::Lumisk::EndToEnd {

// Parameter values as a user sets them in the host (popups 1-based, percent,
// degrees, pixels) and the host's downsample denominator.
struct EffectValues {
  int lens = 2;  // Hexagon
  int strength = 8;
  int mapType = 1;  // None
  int feather = 250;
  double centerX = 20.0;
  double centerY = 12.0;
  double scaleX = 100.0;
  double scaleY = 100.0;
  double rotation = 0.0;
  double focal = 0.0;
  bool invert = false;
  bool show = false;
  int quality = 2;  // Low->Fast
  unsigned den = 1;
};

// The settings the renderer should arrive at for those values, worked out
// here by hand from the units (not through the module's code).
Reference::ReferenceSettings ExpectedSettings(const EffectValues& values, const Reference::Image* customMap);

// A small test frame: a dark gradient with bright points and a hard edge, the
// alpha byte varying so that the channel order shows.
TestHost::World MakeTestFrame(int width, int height);
// A horizontal gradient map of its own size (sampled over the whole frame).
TestHost::World MakeMapLayer(int width, int height);

Reference::Image ToReference(const TestHost::World& world);
// The largest difference in levels between the world and the reference
// rendered to bytes, over the overlap; `where` names the worst pixel.
int LargestDifference(const TestHost::World& world, const Reference::Image& expected, std::string* where);

// GL objects alive in the current context among the first names (the
// module's names are small and dense on this driver).
struct LiveObjects {
  int textures = 0;
  int renderbuffers = 0;
  int framebuffers = 0;
};
LiveObjects CountLiveObjects();

class EndToEndTest : public ::testing::Test {
protected:
  static constexpr int kWidth = 48;
  static constexpr int kHeight = 32;

  EndToEndTest();
  void SetUp() override;
  void TearDown() override;

  void SetValues(const EffectValues& values);
  // Sets the input and output worlds and renders; returns the command's result.
  PF_Err RenderFrame(TestHost::World& input, TestHost::World& output);
  // Sets the default values, renders the test frame and expects the
  // reference picture.
  void ExpectDefaultRenderMatches();

  // Any GL error of the module or the host fails the test.
  std::unique_ptr<Testing::ScopedGlErrorCheck> errorCheck = std::make_unique<Testing::ScopedGlErrorCheck>();
  TestHost::Host host;
  HeadlessHost::HostGlContexts glContexts{host};

private:
  // The host keeps pointers to the worlds of the latest render and reads them
  // at every later command: between renders it holds these instead of a test's.
  TestHost::World restingInput = TestHost::World::Make8(kWidth, kHeight);
  TestHost::World restingOutput = TestHost::World::Make8(kWidth, kHeight);
};

}  // namespace Orvane::Lumisk::EndToEnd
