// HostContextGuard around the module's own context work, with a host context
// made the way the test host makes it.

#include <gtest/gtest.h>

#include "gl/AESDK_OpenGL_Fault.h"
#include "gl/ContextRegistry.h"
#include "gl/HostContextGuard.h"
#include "host/HostGlContext.h"
#include "tests/support/GlErrorCheck.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/WglFaults.h"

namespace Orvane::Lumisk {
namespace {

using WglFaults::Call;

class HostContextGuardTest : public ::testing::Test {
protected:
  Testing::ScopedGlErrorCheck errorCheck;  // any GL error fails the test
  void SetUp() override {
    WglFaults::Reset();
    host.MakeCurrent();
  }
  void TearDown() override {
    DestroyAllContexts();
    wglMakeCurrent(nullptr, nullptr);
    WglFaults::Reset();
  }
  bool HostIsCurrent() const { return wglGetCurrentContext() == host.Context() && wglGetCurrentDC() == host.Dc(); }

  HeadlessHost::HostGlContext host;
};

TEST_F(HostContextGuardTest, RestoresTheHostContextAfterGlobalSetUp) {
  HostContextGuard guard;
  CreateRootContext();
  EXPECT_EQ(wglGetCurrentContext(), RootContext()->GlContext());
  guard.Restore();
  EXPECT_TRUE(HostIsCurrent());
}

TEST_F(HostContextGuardTest, RestoresTheHostContextWhenAnExceptionPasses) {
  CreateRootContext();
  host.MakeCurrent();
  struct Case {
    const char* what;
    void (*command)();
  };
  const Case cases[] = {
      {"host error thrown mid-render",
       [] {
         CurrentThreadContext()->MakeCurrent();
         throw 516;
       }},
      {"context that cannot be made",
       [] {
         DestroyAllContexts();
         WglFaults::FailCall(Call::SetPixelFormat);
         CurrentThreadContext();
       }},
  };
  for (const Case& c : cases) {
    try {
      HostContextGuard guard;
      c.command();
      guard.Restore();
      ADD_FAILURE() << c.what << ": no throw";
    } catch (int) {
    } catch (const AESDK_OpenGL_Fault&) {
    }
    EXPECT_TRUE(HostIsCurrent()) << c.what;
  }
}

// The host's pair is its context and its DC: a command that leaves either of
// the two changed gets both back.
TEST_F(HostContextGuardTest, RestoresWhenOnlyTheContextOrOnlyTheDcChanged) {
  // A second host pair made the same way: its DC and context take the host's
  // pixel format, so every WGL lets them current crosswise.
  HeadlessHost::HostGlContext other;
  host.MakeCurrent();
  struct Case {
    const char* what;
    HDC dc;
    HGLRC context;
  };
  const Case cases[] = {
      {"the host's DC with another context", host.Dc(), other.Context()},
      {"another DC with the host's context", other.Dc(), host.Context()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostContextGuard guard;
    ASSERT_EQ(wglMakeCurrent(c.dc, c.context), TRUE);
    guard.Restore();
    EXPECT_TRUE(HostIsCurrent());
  }
}

TEST_F(HostContextGuardTest, MakesNoCallWhileTheHostContextIsStillCurrent) {
  HostContextGuard guard;
  const long before = WglFaults::CallCount(Call::wglMakeCurrent);
  guard.Restore();
  EXPECT_EQ(WglFaults::CallCount(Call::wglMakeCurrent), before);
  EXPECT_TRUE(HostIsCurrent());
}

TEST_F(HostContextGuardTest, RestoresOnlyOnce) {
  CreateRootContext();
  host.MakeCurrent();
  {
    HostContextGuard guard;
    RootContext()->MakeCurrent();
    guard.Restore();
    EXPECT_TRUE(HostIsCurrent());
    RootContext()->MakeCurrent();
    const long before = WglFaults::CallCount(Call::wglMakeCurrent);
    guard.Restore();  // nothing: already restored
    EXPECT_EQ(WglFaults::CallCount(Call::wglMakeCurrent), before);
  }  // nor at destruction
  EXPECT_EQ(wglGetCurrentContext(), RootContext()->GlContext());
}

TEST_F(HostContextGuardTest, NothingCurrentAtTheStartIsRestoredAsNothing) {
  wglMakeCurrent(nullptr, nullptr);
  {
    HostContextGuard guard;
    CreateRootContext();
  }
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(wglGetCurrentDC(), nullptr);
}

TEST_F(HostContextGuardTest, SetDownLeavesNothingCurrentUntilTheGuardRestores) {
  CreateRootContext();
  CurrentThreadContext();
  host.MakeCurrent();
  HostContextGuard guard;
  RootContext()->MakeCurrent();
  DestroyAllContexts();
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  guard.Restore();
  EXPECT_TRUE(HostIsCurrent());
}

}  // namespace
}  // namespace Orvane::Lumisk
