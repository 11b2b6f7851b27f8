// GL lifetime through the module: set-up and set-down in every order a host
// may send them, failures on the way, several threads, frames of odd sizes.
// After every command the host's own GL context must be current again
// (checked in the fixture's TearDown for all of them).
#include <thread>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "instruments/GlCallRecorder.h"
#include "tests/e2e/EndToEndFixture.h"
#include "tests/support/WglFaults.h"

namespace Orvane::Lumisk::EndToEnd {
namespace {

using TestHost::GlCallRecorder;
using TestHost::World;
using WglFaults::Call;

class GlLifetime : public EndToEndTest {
protected:
  void SetUp() override {
    WglFaults::Reset();
    EndToEndTest::SetUp();
    SetValues(EffectValues{});
    ObserveCommands();
  }
  void TearDown() override {
    WglFaults::Reset();
    EndToEndTest::TearDown();
  }

  static Reference::Image Expected(const World& input) {
    return Reference::RenderReference(ToReference(input), ExpectedSettings(EffectValues{}, nullptr));
  }

  // WGL calls the module makes during a command (the host's own make-current
  // before it is not counted): the observer reads the counter once the host
  // context is current and again when the command has returned.
  long ModuleWglCalls(Call call, const std::function<void()>& command) {
    counted = call;
    counting = true;
    command();
    counting = false;
    return countAfter - countBefore;
  }

private:
  void ObserveCommands() {
    host.AddCommandObserver([this](PF_Cmd, TestHost::CommandPhase phase, PF_Err) {
      if (!counting) return;
      (phase == TestHost::CommandPhase::kBefore ? countBefore : countAfter) = WglFaults::CallCount(counted);
    });
  }

  bool counting = false;
  Call counted = Call::wglMakeCurrent;
  long countBefore = 0;
  long countAfter = 0;
};

TEST_F(GlLifetime, ReadBackFailureReturns516WithTheHostContextCurrent) {
  World input = MakeTestFrame(kWidth, kHeight);
  World output = World::Make8(kWidth, kHeight);
  host.Faults().nullNewHandle = true;
  EXPECT_EQ(RenderFrame(input, output), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(glContexts.NotRestoredCount(), 0);
  host.Faults().nullNewHandle = false;
  ExpectDefaultRenderMatches();
}

TEST_F(GlLifetime, EachRenderingThreadMakesItsOwnContextOnce) {
  WglFaults::Reset();
  auto renderOnNewThread = [this](int renders) {
    std::thread([this, renders] {
      for (int i = 0; i < renders; ++i) ExpectDefaultRenderMatches();
    }).join();
  };
  renderOnNewThread(2);
  EXPECT_EQ(WglFaults::CallCount(Call::wglCreateContextAttribsARB), 1) << "one context for the first thread";
  renderOnNewThread(1);
  EXPECT_EQ(WglFaults::CallCount(Call::wglCreateContextAttribsARB), 2) << "a second for the second thread";
}

TEST_F(GlLifetime, AThreadWhoseContextCannotBeMadeFailsAndTriesAgainAtItsNextRender) {
  std::thread([this] {
    WglFaults::FailCall(Call::wglCreateContextAttribsARB);
    World input = MakeTestFrame(kWidth, kHeight);
    World output = World::Make8(kWidth, kHeight);
    EXPECT_EQ(RenderFrame(input, output), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_TRUE(glContexts.ForThisThread().IsCurrent());
    ExpectDefaultRenderMatches();
  }).join();
  EXPECT_EQ(WglFaults::CallCount(Call::wglCreateContextAttribsARB), 2);
}

TEST_F(GlLifetime, SetdownReleasesWithTheRootCurrentBeforeAnyContextGoes) {
  ExpectDefaultRenderMatches();
  GlCallRecorder recorder;
  ExpectDefaultRenderMatches();
  ASSERT_FALSE(recorder.Calls().empty());
  const HGLRC renderContext = recorder.Calls().back().context;
  recorder.Clear();

  bool deletedAfterAContextWent = false;
  recorder.SetHooks(
      [&](const char* name) {
        if (std::string(name).rfind("glDelete", 0) == 0 && WglFaults::CallCount(Call::wglDeleteContext) > 0)
          deletedAfterAContextWent = true;
      },
      nullptr);
  WglFaults::Reset();
  ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);

  const std::vector<TestHost::GlCall> calls = recorder.Calls();
  ASSERT_FALSE(calls.empty());
  for (const TestHost::GlCall& call : calls) {
    EXPECT_NE(call.context, nullptr) << call.name;
    EXPECT_NE(call.context, renderContext) << call.name << " in the render thread's context, not the root";
    EXPECT_NE(call.context, glContexts.ForThisThread().Context()) << call.name << " in the host's context";
    EXPECT_EQ(call.context, calls.front().context) << call.name << ": every GL call in the one root context";
  }
  EXPECT_GT(recorder.Count("glDeleteRenderbuffers"), 0) << "the render target's output renderbuffer";
  EXPECT_GT(recorder.Count("glDeleteProgram"), 0) << "the renderer's programs";
  // Every render pops its colour layer, so only the output renderbuffer is
  // left; map type None never makes the map program.
  EXPECT_EQ(recorder.Count("glDeleteRenderbuffers"), 1) << "the output renderbuffer alone";
  EXPECT_EQ(recorder.Count("glDeleteProgram"), 4) << "the gather, the two prefix-sum and the copy programs";
  EXPECT_FALSE(deletedAfterAContextWent);
  EXPECT_EQ(WglFaults::CallCount(Call::wglDeleteContext), 2) << "the thread's context and the root";
  EXPECT_TRUE(glContexts.ForThisThread().IsCurrent());
}

TEST_F(GlLifetime, SetupAfterSetdownMakesEverythingAgain) {
  ExpectDefaultRenderMatches();
  ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ExpectDefaultRenderMatches();
  ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
  SetValues(EffectValues{});
  ExpectDefaultRenderMatches();
}

TEST_F(GlLifetime, RenderAfterSetdownTouchesNothingAndFails) {
  ExpectDefaultRenderMatches();
  ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  World input = MakeTestFrame(kWidth, kHeight);
  World output = World::Make8(kWidth, kHeight);
  GlCallRecorder recorder;
  EXPECT_EQ(RenderFrame(input, output), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(recorder.Calls().size(), 0u);
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ExpectDefaultRenderMatches();
}

TEST_F(GlLifetime, SetdownWithoutARootMakesNoContextCurrentAndNoGlCall) {
  ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  WglFaults::FailCall(Call::wglCreateContext);
  EXPECT_NE(host.GlobalSetup(), PF_Err_NONE) << "the root context could not be made";
  GlCallRecorder recorder;
  EXPECT_EQ(ModuleWglCalls(Call::wglMakeCurrent, [&] { EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE); }), 0);
  EXPECT_EQ(recorder.Calls().size(), 0u);
  EXPECT_EQ(host.GlobalSetdown(), PF_Err_NONE) << "a second set-down is as harmless";
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ExpectDefaultRenderMatches();
}

TEST_F(GlLifetime, EmptyInputRendersNothingAndClearsTheOutput) {
  World input = World::Make8(0, 0);
  World output = World::Make8(6, 4, 4);
  output.Fill8(PF_Pixel8{9, 9, 9, 9});
  GlCallRecorder recorder;
  EXPECT_EQ(RenderFrame(input, output), PF_Err_NONE);
  EXPECT_EQ(recorder.Calls().size(), 0u);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(output.Pixel8(x, y).alpha + output.Pixel8(x, y).blue, 0);
  EXPECT_TRUE(output.PaddingUntouched());
}

TEST_F(GlLifetime, OutputOfAnotherSizeGetsTheOverlapAndTheRestCleared) {
  World input = MakeTestFrame(kWidth, kHeight);
  const Reference::Image expected = Expected(input);
  const struct {
    int width, height;
  } sizes[] = {{kWidth + 12, kHeight + 5}, {kWidth - 17, kHeight - 9}, {kWidth + 3, kHeight - 4}};
  for (const auto& size : sizes) {
    World output = World::Make8(size.width, size.height, 8);
    output.Fill8(PF_Pixel8{7, 7, 7, 7});
    ASSERT_EQ(RenderFrame(input, output), PF_Err_NONE);
    std::string where;
    EXPECT_LE(LargestDifference(output, expected, &where), Reference::kToleranceLevels) << where;
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x)
        if (x >= kWidth || y >= kHeight) {
          const PF_Pixel8& p = output.Pixel8(x, y);
          ASSERT_EQ(p.alpha | p.red | p.green | p.blue, 0) << "(" << x << ", " << y << ") of " << size.width;
        }
    EXPECT_TRUE(output.PaddingUntouched());
  }
}

// A host without the check-out or the check-in callback is a bad call, as with
// any other missing callback: the render answers 516, checks nothing out, and
// the next render with both callbacks is whole.
TEST_F(GlLifetime, AMissingCheckoutOrCheckinCallbackAnswers516) {
  ExpectDefaultRenderMatches();
  PF_InteractCallbacks& inter = host.InData().inter;
  const PF_InteractCallbacks complete = inter;
  for (const bool checkoutMissing : {true, false}) {
    SCOPED_TRACE(checkoutMissing ? "without check-out" : "without check-in");
    World input = MakeTestFrame(kWidth, kHeight);
    World output = World::Make8(kWidth, kHeight);
    if (checkoutMissing) {
      inter.checkout_param = nullptr;
    } else {
      inter.checkin_param = nullptr;
    }
    GlCallRecorder recorder;
    EXPECT_EQ(RenderFrame(input, output), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(recorder.Count("glGenTextures"), recorder.Count("glDeleteTextures")) << "the input texture";
    EXPECT_EQ(glContexts.NotRestoredCount(), 0);
    inter = complete;
    EXPECT_EQ(host.Records().OutstandingCheckouts(), 0);
    ExpectDefaultRenderMatches();
  }
}

TEST_F(GlLifetime, AFailedStepReleasesTheInputTextureAndTheColourLayer) {
  ExpectDefaultRenderMatches();  // the render target's lasting objects exist from here on
  World input = MakeTestFrame(kWidth, kHeight);
  World output = World::Make8(kWidth, kHeight);
  World badLayer = MakeMapLayer(8, 8);
  badLayer.Get()->rowbytes = 4;  // shorter than a row: the layer's upload refuses it
  EffectValues custom;
  custom.mapType = 6;
  SetValues(custom);
  host.Params().SetLayer(6, badLayer.Get());

  GlCallRecorder recorder;
  EXPECT_EQ(RenderFrame(input, output), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_GT(recorder.Count("glGenTextures"), 0);
  EXPECT_EQ(recorder.Count("glGenTextures"), recorder.Count("glDeleteTextures")) << "every texture made is deleted";
  EXPECT_EQ(recorder.Count("glGenRenderbuffers"), recorder.Count("glDeleteRenderbuffers")) << "the colour layer";
  EXPECT_EQ(recorder.Count("glCopyTexImage2D"), 0) << "the given-up layer is dropped, not resolved";
  EXPECT_EQ(host.Records().OutstandingCheckouts(), 0) << "the custom layer is checked in again";

  SetValues(EffectValues{});
  host.Params().SetLayer(6, nullptr);
  ExpectDefaultRenderMatches();
}

// A frame one column wider than the GL's texture limit cannot be rendered:
// the render fails, and what it made is gone by the next render of the small
// frame, whose live objects (counted in the module's context at its
// read-back) are those of a render before the failure.
TEST_F(GlLifetime, AFrameTooWideForTheGlLeavesNoObjectBehind) {
  const int limit = glContexts.ForThisThread().MaxTextureSize();
  ExpectDefaultRenderMatches();
  GlCallRecorder recorder;
  LiveObjects atReadBack;
  recorder.SetHooks(nullptr, [&](const char* name) {
    if (std::string(name) == "glReadPixels") atReadBack = CountLiveObjects();
  });
  ExpectDefaultRenderMatches();
  const LiveObjects before = atReadBack;
  ASSERT_GT(before.textures, 0);

  EffectValues high;
  high.quality = 1;
  SetValues(high);
  World input = World::Make8(limit + 1, 1);
  input.Fill8(PF_Pixel8{255, 255, 255, 255});
  World output = World::Make8(limit + 1, 1);
  EXPECT_EQ(RenderFrame(input, output), PF_Err_INTERNAL_STRUCT_DAMAGED);

  SetValues(EffectValues{});
  ExpectDefaultRenderMatches();
  EXPECT_EQ(atReadBack.textures, before.textures);
  EXPECT_EQ(atReadBack.renderbuffers, before.renderbuffers);
  EXPECT_EQ(atReadBack.framebuffers, before.framebuffers);
}

}  // namespace
}  // namespace Orvane::Lumisk::EndToEnd
