// The module's very first global set-up fails to make the root context: the
// renderer made at load exists, but no context does. Needs a process of its
// own, so that this set-up is the module's first.
#include <thread>

#include <gtest/gtest.h>

#include "tests/e2e/EndToEndFixture.h"
#include "tests/support/WglFaults.h"

namespace Orvane::Lumisk::EndToEnd {
namespace {

using TestHost::World;
using WglFaults::Call;

class FailedFirstSetup : public EndToEndTest {
protected:
  void SetUp() override { WglFaults::Reset(); }
  void TearDown() override {
    WglFaults::Reset();
    EndToEndTest::TearDown();
  }
};

TEST_F(FailedFirstSetup, RendersFailAndMakeNothingUntilASetupSucceeds) {
  glContexts.ForThisThread();  // the host's own context first, so that the fault meets the module's root
  WglFaults::FailCall(Call::wglCreateContext);
  ASSERT_NE(host.GlobalSetup(), PF_Err_NONE) << "the root context could not be made";
  ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
  SetValues(EffectValues{});
  const int contextsBefore = WglFaults::CountLiveObjects().glContexts;
  World input = MakeTestFrame(kWidth, kHeight);
  World output = World::Make8(kWidth, kHeight);
  const long contextRequestsBefore = WglFaults::CallCount(Call::wglCreateContextAttribsARB);
  EXPECT_EQ(RenderFrame(input, output), PF_Err_BAD_CALLBACK_PARAM);
  EXPECT_EQ(WglFaults::CallCount(Call::wglCreateContextAttribsARB), contextRequestsBefore);
  EXPECT_EQ(WglFaults::CountLiveObjects().glContexts, contextsBefore) << "no context made for the render";

  ASSERT_EQ(host.GlobalSetdown(), PF_Err_NONE);
  ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
  ExpectDefaultRenderMatches();
  std::thread other([this] { ExpectDefaultRenderMatches(); });
  other.join();
}

}  // namespace
}  // namespace Orvane::Lumisk::EndToEnd
