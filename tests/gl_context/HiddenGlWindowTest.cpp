// The hidden window the host's GL context and the tests' windows are made on:
// each step that fails is reported by name, and nothing made before it stays.

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "host/HiddenGlWindow.h"
#include "host/HostGlContext.h"
#include "tests/support/WglFaults.h"

namespace Orvane::Lumisk {
namespace {

using WglFaults::Call;

class HiddenGlWindowTest : public ::testing::Test {
protected:
  void SetUp() override { WglFaults::Reset(); }
  void TearDown() override { WglFaults::Reset(); }
};

void ExpectSameObjects(const WglFaults::LiveObjects& before, const WglFaults::LiveObjects& after) {
  EXPECT_EQ(after.windowClasses, before.windowClasses);
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_EQ(after.deviceContexts, before.deviceContexts);
  EXPECT_EQ(after.glContexts, before.glContexts);
}

// The message of what `make` throws, or "" when it throws nothing.
template <typename Make>
std::string FailureOf(Make make) {
  try {
    make();
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "";
}

TEST_F(HiddenGlWindowTest, AFailedStepIsNamedAndLeavesNothing) {
  struct Case {
    Call call;
    const char* named;
  };
  const Case cases[] = {
      {Call::RegisterClassExA, "cannot register the window class"},
      {Call::CreateWindowExA, "cannot create a hidden window"},
      {Call::GetDC, "cannot get the device context"},
      {Call::ChoosePixelFormat, "cannot set the pixel format"},
      {Call::SetPixelFormat, "cannot set the pixel format"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.named);
    WglFaults::Reset();
    const WglFaults::LiveObjects before = WglFaults::CountLiveObjects();
    WglFaults::FailCall(c.call);
    const std::string failure = FailureOf([] { HeadlessHost::HiddenGlWindow window("HiddenGlWindowTest_failure"); });
    EXPECT_NE(failure.find(c.named), std::string::npos) << failure;
    ExpectSameObjects(before, WglFaults::CountLiveObjects());
  }
}

TEST_F(HiddenGlWindowTest, TheHostsGlContextReportsAWindowOrContextItCannotMake) {
  struct Case {
    Call call;
    const char* named;
  };
  const Case cases[] = {
      {Call::CreateWindowExA, "cannot create a hidden window"},
      {Call::wglCreateContext, "cannot make its own GL context"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.named);
    WglFaults::Reset();
    const WglFaults::LiveObjects before = WglFaults::CountLiveObjects();
    WglFaults::FailCall(c.call);
    const std::string failure = FailureOf([] { HeadlessHost::HostGlContext context; });
    EXPECT_NE(failure.find(c.named), std::string::npos) << failure;
    ExpectSameObjects(before, WglFaults::CountLiveObjects());
  }
}

}  // namespace
}  // namespace Orvane::Lumisk
