// Thread slots of the context registry from the start of a process: the
// first thread that renders gets slot 0 and the map's first entry, the next 1.
// Needs a process of its own.

#include <thread>

#include <gtest/gtest.h>

#include "gl/ContextRegistry.h"

namespace Orvane::Lumisk {
namespace {

TEST(FreshProcessSlotTest, ThreadsGetSlotsZeroAndOneInOrderOfFirstRender) {
  CreateRootContext();
  std::int32_t slots[2] = {-1, -1};
  AEOpenGLContext* contexts[2] = {nullptr, nullptr};
  for (int i = 0; i < 2; ++i) {
    std::thread host([&, i] {
      contexts[i] = CurrentThreadContext();
      slots[i] = CurrentThreadContextSlot();
      wglMakeCurrent(nullptr, nullptr);
    });
    host.join();
    EXPECT_EQ(RegisteredContextCount(), static_cast<std::size_t>(i + 1));
  }
  EXPECT_EQ(slots[0], 0);
  EXPECT_EQ(slots[1], 1);
  EXPECT_NE(contexts[0], contexts[1]);
  EXPECT_EQ(CurrentThreadContextSlot(), -1);  // this thread has not rendered
  DestroyAllContexts();
}

}  // namespace
}  // namespace Orvane::Lumisk
