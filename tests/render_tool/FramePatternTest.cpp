#include <gtest/gtest.h>

#include <fstream>

#include "tests/render_tool/TempDir.h"
#include "testhost/tools/FramePattern.h"
#include "testhost/tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

TEST(FramePattern, FormatsTheFrameNumber) {
  const struct {
    const char* pattern;
    int frame;
    const char* name;
  } cases[] = {
      {"f/%04d.png", 7, "f/0007.png"}, {"%d.png", 12, "12.png"},   {"a%3db.png", 5, "a  5b.png"},
      {"100%%_%02d.png", 3, "100%_03.png"}, {"%04d.png", 12345, "12345.png"},
  };
  for (const auto& c : cases) {
    const auto pattern = FramePattern::Parse(c.pattern);
    ASSERT_TRUE(pattern) << c.pattern;
    EXPECT_EQ(pattern->Format(c.frame), c.name);
  }
}

TEST(FramePattern, PlainNamesAreNoPatternAndBadOnesAreRefused) {
  EXPECT_FALSE(FramePattern::Parse("frame.png"));
  EXPECT_FALSE(FramePattern::Parse("100%%.png"));
  for (const char* bad : {"%s.png", "%d_%d.png", "%x.png", "trailing%", "%-4d.png", "%99d.png"})
    EXPECT_THROW(FramePattern::Parse(bad), ToolError) << bad;
}

TEST(FramePattern, FindsTheSequenceOnDisk) {
  Testing::TempDir dir;
  const auto pattern = FramePattern::Parse(dir.File("%03d.png"));
  ASSERT_TRUE(pattern);
  EXPECT_TRUE(FindSequenceFrames(*pattern).empty());
  for (int frame : {1, 2, 3, 5}) std::ofstream(pattern->Format(frame)) << "x";
  EXPECT_EQ(FindSequenceFrames(*pattern), (std::vector<int>{1, 2, 3})) << "starts at 1 without a frame 0, stops at a gap";
  std::ofstream(pattern->Format(0)) << "x";
  EXPECT_EQ(FindSequenceFrames(*pattern), (std::vector<int>{0, 1, 2, 3}));
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
