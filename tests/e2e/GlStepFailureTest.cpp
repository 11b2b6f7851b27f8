// One step of a render fails on its own, the way the GL fails it, and the
// same frame is rendered again: the failed render answers an error, leaves
// no GL object and no colour layer behind, and the next render of that size
// is the whole frame. Each case fails one call of the render and nothing
// else, so no later step's check can stand in for the check of that step.
// Storage is failed as Mesa fails a renderbuffer: left at 0 x 0 with no error
// raised.
#include <functional>
#include <new>
#include <string>
#include <vector>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "instruments/GlCallRecorder.h"
#include "tests/e2e/EndToEndFixture.h"

namespace Orvane::Lumisk::EndToEnd {
namespace {

using TestHost::GlCall;
using TestHost::GlCallRecorder;
using TestHost::World;

enum class Failure {
  kShortRenderbuffer,  // the bound renderbuffer is left 0 x 0
  kShortTexture,       // level 0 of the bound 2D texture is left 0 x 0
  kErrorRaised,        // a GL error is raised after the call
  kAllocationThrows,   // the host's memory runs out just before the call
};

struct StepCase {
  const char* step;
  const char* call;
  // Picks the failing call among the render's calls of that name, by the
  // arguments glbinding prints for it; the first that matches is failed.
  std::function<bool(const std::vector<std::string>&)> matches;
  Failure failure;
  PF_Err expected;
  // Renderbuffers alive once the render failed: the output renderbuffer of
  // the size stays unless the sizing failed, a frame's layer never does.
  int renderbuffersLeft;
};

bool Any(const std::vector<std::string>&) {
  return true;
}

void Fail(Failure failure) {
  switch (failure) {
    case Failure::kShortRenderbuffer:
      gl::glRenderbufferStorage(gl::GL_RENDERBUFFER, gl::GL_RGBA8, 0, 0);
      break;
    case Failure::kShortTexture:
      gl::glTexImage2D(gl::GL_TEXTURE_2D, 0, static_cast<gl::GLint>(gl::GL_RGBA32F), 0, 0, 0, gl::GL_RGBA, gl::GL_FLOAT,
                       nullptr);
      break;
    case Failure::kErrorRaised: {
      unsigned char pixel[4] = {};
      gl::glReadPixels(0, 0, -1, -1, gl::GL_RGBA, gl::GL_UNSIGNED_BYTE, pixel);  // GL_INVALID_VALUE
      break;
    }
    case Failure::kAllocationThrows:
      throw std::bad_alloc();
  }
}

class GlStepFailure : public EndToEndTest {
protected:
  static constexpr int kOtherWidth = 16;
  static constexpr int kOtherHeight = 8;

  void SetUp() override {
    errorCheck.reset();  // the failures raise errors, and the module reads them itself
    EndToEndTest::SetUp();
    SetValues(EffectValues{});
  }

  // Renders a frame of another size, so that the next render sizes the target.
  void RenderOtherSize() {
    World other = MakeTestFrame(kOtherWidth, kOtherHeight);
    World otherOutput = World::Make8(kOtherWidth, kOtherHeight);
    ASSERT_EQ(RenderFrame(other, otherOutput), PF_Err_NONE);
  }

  // The calls of one whole render of the test frame at a new size.
  std::vector<GlCall> RecordRender() {
    RenderOtherSize();
    World input = MakeTestFrame(kWidth, kHeight);
    World output = World::Make8(kWidth, kHeight);
    GlCallRecorder recorder(GlCallRecorder::kWithParameters);
    EXPECT_EQ(RenderFrame(input, output), PF_Err_NONE);
    return recorder.Calls();
  }

  // Renders the test frame and counts the objects alive at its first GL call
  // (what the render before it left) and at its read-back.
  struct LiveDuringRender {
    LiveObjects atStart;
    LiveObjects atReadBack;
  };
  LiveDuringRender RenderCountingLiveObjects(World& input, World& output, PF_Err* result) {
    GlCallRecorder recorder;
    LiveDuringRender live;
    bool started = false;
    recorder.SetHooks(
        [&](const char*) {
          if (!started) live.atStart = CountLiveObjects();
          started = true;
        },
        [&](const char* name) {
          if (std::string(name) == "glReadPixels") live.atReadBack = CountLiveObjects();
        });
    *result = RenderFrame(input, output);
    return live;
  }

  // Renders the test frame with the `ordinal`th call of `call` failed.
  PF_Err RenderFailing(const StepCase& step, int ordinal) {
    World input = MakeTestFrame(kWidth, kHeight);
    World output = World::Make8(kWidth, kHeight);
    GlCallRecorder recorder;
    int seen = 0;
    const auto failHere = [&](const char* name) {
      if (std::string(name) == step.call && ++seen == ordinal) Fail(step.failure);
    };
    if (step.failure == Failure::kAllocationThrows) {
      recorder.SetHooks(failHere, nullptr);
    } else {
      recorder.SetHooks(nullptr, failHere);
    }
    const PF_Err result = RenderFrame(input, output);
    EXPECT_GE(seen, ordinal) << "the failing call was reached";
    return result;
  }
};

// Which of the render's calls of a name is the first that matches, counted
// from 1; 0 when none does.
int OrdinalOf(const std::vector<GlCall>& calls, const StepCase& step) {
  int ordinal = 0;
  for (const GlCall& call : calls) {
    if (call.name != step.call) continue;
    ++ordinal;
    if (step.matches(call.parameters)) return ordinal;
  }
  return 0;
}

bool Parameter(const std::vector<std::string>& parameters, std::size_t index, const std::string& value) {
  return parameters.size() > index && parameters[index] == value;
}

TEST_F(GlStepFailure, TheRenderFailsAndTheSameFrameRendersWholeAfterIt) {
  const std::string rgba32f = std::to_string(static_cast<int>(gl::GL_RGBA32F));
  const std::string rgba = std::to_string(static_cast<int>(gl::GL_RGBA));
  const StepCase cases[] = {
      {"sizing: the output renderbuffer", "glRenderbufferStorage",
       [](const std::vector<std::string>& p) { return Parameter(p, 1, "GL_RGBA32F"); }, Failure::kShortRenderbuffer,
       PF_Err_OUT_OF_MEMORY, 0},
      {"push: the frame's colour layer", "glRenderbufferStorage",
       [](const std::vector<std::string>& p) { return Parameter(p, 1, "GL_RGBA"); }, Failure::kShortRenderbuffer,
       PF_Err_OUT_OF_MEMORY, 1},
      {"upload: the input texture", "glTexImage2D",
       [](const std::vector<std::string>& p) { return Parameter(p, 7, "GL_FLOAT"); }, Failure::kShortTexture,
       PF_Err_OUT_OF_MEMORY, 1},
      {"working texture of the renderer", "glTexImage2D",
       [rgba32f](const std::vector<std::string>& p) {
         return Parameter(p, 2, rgba32f) && Parameter(p, 7, "GL_UNSIGNED_BYTE");
       },
       Failure::kShortTexture, PF_Err_OUT_OF_MEMORY, 1},
      {"resolve: the copy of the layer", "glCopyTexImage2D", Any, Failure::kShortTexture, PF_Err_OUT_OF_MEMORY, 1},
      {"resolve: the cleared level cannot be allocated", "glTexImage2D",
       [rgba](const std::vector<std::string>& p) { return Parameter(p, 2, rgba); }, Failure::kAllocationThrows,
       PF_Err_OUT_OF_MEMORY, 1},
      {"read-back: an error at the read", "glReadPixels", Any, Failure::kErrorRaised, PF_Err_INTERNAL_STRUCT_DAMAGED,
       1},
  };
  const std::vector<GlCall> calls = RecordRender();
  World input = MakeTestFrame(kWidth, kHeight);
  const Reference::Image expected =
      Reference::RenderReference(ToReference(input), ExpectedSettings(EffectValues{}, nullptr));
  World cleanOutput = World::Make8(kWidth, kHeight);
  PF_Err cleanResult = PF_Err_NONE;
  const LiveObjects before = RenderCountingLiveObjects(input, cleanOutput, &cleanResult).atReadBack;
  ASSERT_EQ(cleanResult, PF_Err_NONE);

  for (const StepCase& step : cases) {
    SCOPED_TRACE(step.step);
    const int ordinal = OrdinalOf(calls, step);
    ASSERT_NE(ordinal, 0) << "the render makes the call";
    RenderOtherSize();
    EXPECT_EQ(RenderFailing(step, ordinal), step.expected);
    EXPECT_EQ(glContexts.NotRestoredCount(), 0) << "the host's context is current again";

    // The same frame again: whole, and with no object of the failed render left.
    World output = World::Make8(kWidth, kHeight);
    PF_Err result = PF_Err_OUT_OF_MEMORY;
    const LiveDuringRender live = RenderCountingLiveObjects(input, output, &result);
    EXPECT_EQ(live.atStart.renderbuffers, step.renderbuffersLeft) << "left by the failed render";
    ASSERT_EQ(result, PF_Err_NONE);
    const LiveObjects& after = live.atReadBack;
    std::string where;
    EXPECT_LE(LargestDifference(output, expected, &where), Reference::kToleranceLevels) << where;
    EXPECT_EQ(after.textures, before.textures);
    EXPECT_EQ(after.renderbuffers, before.renderbuffers);
    EXPECT_EQ(after.framebuffers, before.framebuffers);
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::EndToEnd
