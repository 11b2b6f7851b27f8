#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

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

TEST(FramePattern, FindsEveryFrameOfTheSequenceOnDisk) {
  Testing::TempDir dir;
  const auto pattern = FramePattern::Parse(dir.File("%03d.png"));
  ASSERT_TRUE(pattern);
  EXPECT_TRUE(FindSequenceFrames(*pattern).empty());
  // Any first number, gaps and all, in number order; names spelt otherwise
  // than "%03d" would ("07", "0007", "x") and directories are no frames.
  for (const char* name : {"1001.png", "005.png", "003.png", "020.png", "07.png", "0007.png", "x.png", "abc"})
    std::ofstream(dir.File(name)) << "x";
  std::filesystem::create_directory(dir.File("009.png"));
  EXPECT_EQ(FindSequenceFrames(*pattern), (std::vector<int>{3, 5, 20, 1001}));
}

TEST(FramePattern, TheFrameNumberMayNameADirectory) {
  Testing::TempDir dir;
  const auto pattern = FramePattern::Parse(dir.File("shot%d/f.png"));
  ASSERT_TRUE(pattern);
  for (const char* sub : {"shot2", "shot10", "shot4"}) std::filesystem::create_directory(dir.File(sub));
  std::ofstream(dir.File("shot2/f.png")) << "x";
  std::ofstream(dir.File("shot10/f.png")) << "x";
  EXPECT_EQ(FindSequenceFrames(*pattern), (std::vector<int>{2, 10})) << "shot4 holds no f.png";
}

TEST(FramePattern, ANameSpellsItsFrameOnlyAsFormatWould) {
  const auto padded = FramePattern::Parse("f%04d.png");
  const auto spaced = FramePattern::Parse("f%3d.png");
  ASSERT_TRUE(padded && spaced);
  EXPECT_EQ(padded->FrameOf("f1001.png"), 1001);
  EXPECT_EQ(padded->FrameOf("f0007.png"), 7);
  EXPECT_EQ(spaced->FrameOf("f  7.png"), 7);
  for (const char* name :
       {"f007.png", "f7.png", "f00007.png", "f-001.png", "f.png", "g0007.png", "f0007.jpg", "f99999999999.png"})
    EXPECT_FALSE(padded->FrameOf(name)) << name;
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
