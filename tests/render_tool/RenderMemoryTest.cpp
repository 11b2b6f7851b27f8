// The memory estimate a picture's header is checked against before decoding:
// a fixed part and a share per pixel taken from measured peaks (their table is
// in RenderMemory.cpp); the figures here are that model's arithmetic.
#include <gtest/gtest.h>

#include "tools/RenderMemory.h"
#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

constexpr std::uint64_t kGB = 1000ull * 1000 * 1000;
constexpr std::uint64_t kMB = 1000ull * 1000;

TEST(RenderMemory, CountsTheFixedPartThePictureAndTheMapLayer) {
  // 1000 x 1000: 160 MB fixed, 109 bytes a pixel.
  EXPECT_EQ(RenderMemoryBytes({1000, 1000}, std::nullopt, 1), 160 * kMB + 109 * kMB);
  // At 1/2: the full picture decoded (4 MB), then 500 x 500 of its copy (4)
  // and of the rendered share (105).
  EXPECT_EQ(RenderMemoryBytes({1000, 1000}, std::nullopt, 2), 160 * kMB + 4 * kMB + 250'000u * (4 + 105));
  // Odd sizes round up, as the downsampled picture does: 3 x 2 at 1/2 is 2 x 1.
  EXPECT_EQ(RenderMemoryBytes({3, 2}, std::nullopt, 2), 160 * kMB + 6u * 4 + 2u * (4 + 105));
  // A map layer adds 24 bytes a pixel of its own size, beside the input's.
  EXPECT_EQ(RenderMemoryBytes({1000, 1000}, PictureSize{2000, 1000}, 1), 160 * kMB + 109 * kMB + 48 * kMB);
  EXPECT_EQ(MapLayerMemoryBytes({2000, 1000}, 1), 48 * kMB);
}

TEST(RenderMemory, LiesAboveTheMeasuredPeaks) {
  // Peak resident sizes measured at --quality high (bytes).
  const struct {
    int width;
    int height;
    std::optional<PictureSize> mapLayer;
    std::uint64_t measured;
  } peaks[] = {
      {640, 360, std::nullopt, 132 * kMB},    {1920, 1080, std::nullopt, 333 * kMB},
      {3840, 2160, std::nullopt, 1050 * kMB}, {5760, 3240, std::nullopt, 2128 * kMB},
      {8192, 4608, std::nullopt, 4190 * kMB}, {3840, 2160, PictureSize{3840, 2160}, 1206 * kMB},
  };
  for (const auto& peak : peaks)
    EXPECT_GE(RenderMemoryBytes({peak.width, peak.height}, peak.mapLayer, 1), peak.measured)
        << peak.width << " x " << peak.height << (peak.mapLayer ? " with a map layer" : "");
}

TEST(RenderMemory, RefusesWhatTheSystemCannotHoldAndPointsAtDownsample) {
  const struct {
    int side;
    int downsample;
    std::optional<PictureSize> mapLayer;
    std::uint64_t available;
    bool refused;
  } cases[] = {
      {8192, 1, std::nullopt, 16 * kGB, false},  // 7.5 GB
      {8192, 1, std::nullopt, 7 * kGB, true},
      {16384, 1, std::nullopt, 16 * kGB, true},   // 29.4 GB
      {16384, 4, std::nullopt, 16 * kGB, false},  // 1.07 GB picture + 1.9 GB at 4096 x 4096
      {16384, 4, std::nullopt, 2 * kGB, true},
      // Each fits alone in 8 GB; together (7.5 + 1.6 GB) they do not.
      {8192, 1, PictureSize{8192, 8192}, 8 * kGB, true},
  };
  for (const auto& c : cases) {
    bool refused = false;
    try {
      CheckRenderMemory("big.png", {c.side, c.side}, c.mapLayer, c.downsample, c.available);
    } catch (const ToolError& error) {
      refused = true;
      const std::string message = error.what();
      for (const char* part : {"\"big.png\"", "GB of memory", "--downsample N"})
        EXPECT_NE(message.find(part), std::string::npos) << message;
    }
    EXPECT_EQ(refused, c.refused) << c.side << " at 1/" << c.downsample << (c.mapLayer ? " with a layer" : "");
  }
  EXPECT_NO_THROW(CheckMapLayerMemory("map.png", {8192, 8192}, 1, 8 * kGB));
  EXPECT_THROW(CheckMapLayerMemory("map.png", {16384, 16384}, 1, 4 * kGB), ToolError);
}

TEST(RenderMemory, NamesBothFigures) {
  try {
    CheckRenderMemory("big.png", {16384, 16384}, std::nullopt, 1, 5 * kGB);
    FAIL() << "accepted";
  } catch (const ToolError& error) {
    // 16384 x 16384 x 109 bytes + 160 MB = 29.42 GB.
    EXPECT_NE(std::string(error.what()).find("needs about 29.4 GB of memory, more than the 5.0 GB available"),
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
