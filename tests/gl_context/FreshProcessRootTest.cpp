// First root constructions of a process: the window-class counter starts at 0
// and the entry point of wglCreateContextAttribsARB is not known until a WGL
// extension string names it. Needs a process of its own.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "gl/AEOpenGLContext.h"
#include "gl/AESDK_OpenGL_Fault.h"
#include "tests/support/WglFaults.h"

namespace Orvane::Lumisk {
namespace {

using WglFaults::ExtensionString;

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(FreshProcessRootTest, ExtensionLookupAndClassCounterFromTheStart) {
  ASSERT_TRUE(WglFaults::RegisteredClassNames().empty()) << "needs a fresh process";
  struct Step {
    const char* what;
    ExtensionString variant;
    bool succeeds;
  };
  const Step steps[] = {
      {"string without the extension, nothing looked up yet", ExtensionString::WithoutCreateContext, false},
      {"null string, searched as empty", ExtensionString::Null, false},
      {"only a longer name that starts with it", ExtensionString::OnlyLongerCreateContext, true},
      {"string without it reuses the earlier entry point", ExtensionString::WithoutCreateContext, true},
      {"null string reuses it too", ExtensionString::Null, true},
  };
  int index = 0;
  for (const Step& step : steps) {
    WglFaults::SetExtensionString(step.variant);
    const WglFaults::LiveObjects before = WglFaults::CountLiveObjects();
    bool threw = false;
    try {
      std::unique_ptr<AEOpenGLContext> root(new AEOpenGLContext(nullptr));
      // A per-thread context needs the entry point: it is really there.
      AEOpenGLContext shared(root.get());
    } catch (const AESDK_OpenGL_Fault& fault) {
      threw = true;
      EXPECT_EQ(fault.code, 1) << step.what;
    }
    EXPECT_EQ(!threw, step.succeeds) << step.what;
    const WglFaults::LiveObjects after = WglFaults::CountLiveObjects();
    EXPECT_EQ(after.windowClasses, before.windowClasses) << step.what;
    EXPECT_EQ(after.glContexts, before.glContexts) << step.what;

    // Every construction consumed the next counter value (two when the
    // per-thread context was made too).
    const std::vector<std::string> names = WglFaults::RegisteredClassNames();
    ASSERT_GT(names.size(), static_cast<std::size_t>(index)) << step.what;
    EXPECT_TRUE(EndsWith(names[index], "_" + std::to_string(index))) << names[index];
    index += step.succeeds ? 2 : 1;
    EXPECT_EQ(names.size(), static_cast<std::size_t>(index)) << step.what;
  }
  EXPECT_EQ(WglFaults::RegisteredClassNames().front().rfind("AEOpenGL_Win_Class", 0), 0u);
}

}  // namespace
}  // namespace Orvane::Lumisk
