#include <gtest/gtest.h>

#include <fstream>

#include "tests/render_tool/TempDir.h"
#include "tools/FramePattern.h"
#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

TEST(FramePattern, FormatsTheFrameNumber) {
  const struct {
    const char* pattern;
    int frame;
    const char* name;
  } cases[] = {
      {"f/%04d.png", 7, "f/0007.png"},      {"%d.png", 12, "12.png"},         {"a%3db.png", 5, "a  5b.png"},
      {"100%%_%02d.png", 3, "100%_03.png"}, {"%04d.png", 12345, "12345.png"},
  };
  for (const auto& c : cases) {
    const auto pattern = FramePattern::Parse(c.pattern);
    ASSERT_TRUE(pattern) << c.pattern;
    EXPECT_EQ(pattern->Format(c.frame), c.name);
  }
}

TEST(FramePattern, NamesWithoutAConversionArePlainFiles) {
  // "%%" is one percent sign, as printf reads it; a percent sign that starts
  // no %d, %Nd or %0Nd is itself.
  const struct {
    const char* text;
    const char* file;
  } cases[] = {
      {"frame.png", "frame.png"}, {"100%%.png", "100%.png"},  {"50%.png", "50%.png"},   {"%s.png", "%s.png"},
      {"%x.png", "%x.png"},       {"trailing%", "trailing%"}, {"%-4d.png", "%-4d.png"}, {"a%%%%b", "a%%b"},
      {"%%d.png", "%d.png"},      {"%5.png", "%5.png"},       {"%%%.png", "%%.png"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(FramePattern::Parse(c.text)) << c.text;
    EXPECT_EQ(PlainFileName(c.text), c.file) << c.text;
  }
}

TEST(FramePattern, APercentThatIsNoConversionStaysBesideOne) {
  const auto pattern = FramePattern::Parse("50%_%03d.png");
  ASSERT_TRUE(pattern);
  EXPECT_EQ(pattern->Format(7), "50%_007.png");
}

TEST(FramePattern, TwoFrameNumbersOrAWidthAbove16AreRefused) {
  for (const char* bad : {"%d_%d.png", "%04d%%%d.png", "%99d.png", "%017d.png", "%100000000000000000000d.png"})
    EXPECT_THROW(FramePattern::Parse(bad), ToolError) << bad;
  EXPECT_TRUE(FramePattern::Parse("%016d.png"));
}

TEST(FramePattern, FindsTheSequenceOnDisk) {
  Testing::TempDir dir;
  const auto pattern = FramePattern::Parse(dir.File("%03d.png"));
  ASSERT_TRUE(pattern);
  EXPECT_TRUE(FindSequenceFrames(*pattern).empty());
  for (int frame : {1, 2, 3, 5}) std::ofstream(pattern->Format(frame)) << "x";
  EXPECT_EQ(FindSequenceFrames(*pattern), (std::vector<int>{1, 2, 3}))
      << "starts at 1 without a frame 0, stops at a gap";
  std::ofstream(pattern->Format(0)) << "x";
  EXPECT_EQ(FindSequenceFrames(*pattern), (std::vector<int>{0, 1, 2, 3}));
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
