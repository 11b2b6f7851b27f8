// A frame the GL cannot find memory for: with the process's address space
// limited to a little more than it uses, the GL's 16-byte-per-pixel objects of
// a larger frame cannot be allocated while the host's 4-byte-per-pixel worlds
// and buffers still can. The render answers PF_Err_OUT_OF_MEMORY instead of a
// black frame, leaves no GL object behind, and the next render, of the same
// frame or another, is whole. Needs
// a process of its own (the limit is process-wide) and no sanitizer (their
// shadow memory does not fit under such a limit).
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "instruments/GlCallRecorder.h"
#include "tests/e2e/EndToEndFixture.h"

namespace Orvane::Lumisk::EndToEnd {
namespace {

using TestHost::World;

constexpr int kLargeWidth = 1024;
constexpr int kLargeHeight = 1024;
// Room for one more allocation of a 4-byte-per-pixel frame buffer (4 MiB) and
// the GL's small ones, none for a float texture or renderbuffer (16 MiB).
constexpr rlim_t kHeadroomBytes = 12u << 20;

rlim_t MappedBytes() {
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  statm >> pages;
  return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Lowers the soft address-space limit to what is mapped now plus the headroom,
// and puts the old limit back when it goes.
class AddressSpaceLimit {
public:
  AddressSpaceLimit() {
    // Freed memory the allocator still holds would be room under the limit.
    malloc_trim(0);
    getrlimit(RLIMIT_AS, &saved);
    rlimit limited = saved;
    limited.rlim_cur = MappedBytes() + kHeadroomBytes;
    EXPECT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
  }
  ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved); }
  AddressSpaceLimit(const AddressSpaceLimit&) = delete;
  AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
  rlimit saved{};
};

class GlOutOfMemory : public EndToEndTest {
protected:
  void SetUp() override {
    errorCheck.reset();  // the module looks for the GL's out-of-memory error itself
    // Large blocks always mapped on their own and unmapped when freed: a frame
    // rendered earlier must not leave its memory in the heap for the limited
    // render to take.
    mallopt(M_MMAP_THRESHOLD, 128 << 10);
    // One heap for every thread. A thread's own arena reserves its address
    // space ahead (64 MiB) and grows inside it without counting against the
    // limit; under load glibc moves a contended thread, the rendering one
    // too, onto such an arena, where the limited render would find room.
    mallopt(M_ARENA_MAX, 1);
    EndToEndTest::SetUp();
    SetValues(EffectValues{});
  }

  // Objects alive in the module's context at the read-back of a whole render.
  LiveObjects LiveAtReadBack(World& input, World& output) {
    TestHost::GlCallRecorder recorder;
    LiveObjects live;
    recorder.SetHooks(nullptr, [&](const char* name) {
      if (std::string(name) == "glReadPixels") live = CountLiveObjects();
    });
    EXPECT_EQ(RenderFrame(input, output), PF_Err_NONE);
    return live;
  }

  void ExpectNoObjectLeftBehind(const LiveObjects& before, World& input, World& output) {
    const LiveObjects after = LiveAtReadBack(input, output);
    EXPECT_EQ(after.textures, before.textures);
    EXPECT_EQ(after.renderbuffers, before.renderbuffers);
    EXPECT_EQ(after.framebuffers, before.framebuffers);
  }
};

// Each case reaches a different first allocation that fails: a new size fails
// when the render target is sized, an unchanged one at the first float
// texture of the render.
TEST_F(GlOutOfMemory, TheRenderAnswersOutOfMemoryAndTheNextRenderIsWhole) {
  World large = MakeTestFrame(kLargeWidth, kLargeHeight);
  World largeOutput = World::Make8(kLargeWidth, kLargeHeight);
  World small = MakeTestFrame(kWidth, kHeight);
  World smallOutput = World::Make8(kWidth, kHeight);
  const LiveObjects smallBefore = LiveAtReadBack(small, smallOutput);
  const Reference::Image expectedLarge =
      Reference::RenderReference(ToReference(large), ExpectedSettings(EffectValues{}, nullptr));
  for (const bool sameSize : {false, true}) {
    SCOPED_TRACE(sameSize ? "target already of the frame's size" : "target sized for the frame");
    if (sameSize) {
      ASSERT_EQ(RenderFrame(large, largeOutput), PF_Err_NONE);
    }
    PF_Err result = PF_Err_NONE;
    {
      AddressSpaceLimit limit;
      result = RenderFrame(large, largeOutput);
    }
    EXPECT_EQ(result, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(glContexts.NotRestoredCount(), 0) << "the host's context is current again";
    // The same frame with the memory back: the whole frame, never a success
    // over storage the failed render left short.
    World again = World::Make8(kLargeWidth, kLargeHeight);
    ASSERT_EQ(RenderFrame(large, again), PF_Err_NONE);
    std::string where;
    EXPECT_LE(LargestDifference(again, expectedLarge, &where), Reference::kToleranceLevels) << where;
    ExpectNoObjectLeftBehind(smallBefore, small, smallOutput);
    ExpectDefaultRenderMatches();
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::EndToEnd
