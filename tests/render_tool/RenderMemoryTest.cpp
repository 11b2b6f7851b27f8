// The memory estimate a picture's header is checked against before decoding:
// its figures come from the buffers one render holds, counted by hand here.
#include <gtest/gtest.h>

#include "tools/RenderMemory.h"
#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

constexpr std::uint64_t kGB = 1000ull * 1000 * 1000;

TEST(RenderMemory, CountsThePictureTheWorldsAndTheFloatObjects) {
  // 1000 x 1000: the picture (4 bytes a pixel), two 8-bit worlds (8) and six
  // float RGBA objects (96): 108 bytes a pixel.
  EXPECT_EQ(RenderMemoryBytes(1000, 1000, 1), 108'000'000u);
  // At 1/2: the full picture (4 MB), then its 500 x 500 copy, worlds and objects.
  EXPECT_EQ(RenderMemoryBytes(1000, 1000, 2), 4'000'000u + 250'000u * (4 + 8 + 96));
  // Odd sizes round up, as the downsampled picture does: 3 x 2 at 1/2 is 2 x 1.
  EXPECT_EQ(RenderMemoryBytes(3, 2, 2), 6u * 4 + 2u * (4 + 8 + 96));
}

TEST(RenderMemory, RefusesWhatTheSystemCannotHoldAndPointsAtDownsample) {
  const struct {
    int side;
    int downsample;
    std::uint64_t available;
    bool refused;
  } cases[] = {
      {8192, 1, 16 * kGB, false},                               // 7.2 GB
      {8192, 1, 7 * kGB, true},    {16384, 1, 16 * kGB, true},  // 29 GB
      {16384, 4, 16 * kGB, false},                              // 1.07 GB picture + 1.81 GB at 4096 x 4096
      {16384, 4, 2 * kGB, true},
  };
  for (const auto& c : cases) {
    bool refused = false;
    try {
      CheckRenderMemory("big.png", c.side, c.side, c.downsample, c.available);
    } catch (const ToolError& error) {
      refused = true;
      const std::string message = error.what();
      for (const char* part : {"\"big.png\"", "GB of memory", "--downsample N"})
        EXPECT_NE(message.find(part), std::string::npos) << message;
    }
    EXPECT_EQ(refused, c.refused) << c.side << " at 1/" << c.downsample;
  }
}

TEST(RenderMemory, NamesBothFigures) {
  try {
    CheckRenderMemory("big.png", 16384, 16384, 1, 5 * kGB);
    FAIL() << "accepted";
  } catch (const ToolError& error) {
    // 16384 x 16384 x 108 bytes = 28.99 GB.
    EXPECT_NE(std::string(error.what()).find("needs about 29.0 GB of memory, more than the 5.0 GB available"),
              std::string::npos)
        << error.what();
  }
}

TEST(RenderMemory, TheSystemReportsSomeMemory) {
  const std::optional<std::uint64_t> available = AvailableMemoryBytes();
  ASSERT_TRUE(available.has_value());
  EXPECT_GT(*available, 0u);
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
