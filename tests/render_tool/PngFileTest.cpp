// PNG files in and out: round trips, and every bad file refused with a message
// and without a file left behind.
#include <fstream>

#include <gtest/gtest.h>

#include "tests/render_tool/HugeHeaderPng.h"
#include "tests/render_tool/SixteenBitPng.h"
#include "tests/render_tool/TempDir.h"
#include "tools/PngFile.h"
#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

using Testing::TempDir;

RgbaImage Gradient(int w, int h, bool alpha) {
  RgbaImage image(w, h, alpha);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = uint8_t(x * 7);
      p[1] = uint8_t(y * 11);
      p[2] = uint8_t(x + y);
      p[3] = alpha ? uint8_t(255 - x) : 255;
    }
  return image;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string MessageOf(const std::string& path) {
  try {
    ReadPng(path);
  } catch (const ToolError& error) {
    return error.what();
  }
  return "";
}

TEST(PngFile, RoundTripsRgbAndRgba) {
  TempDir dir;
  for (const bool alpha : {false, true}) {
    const RgbaImage image = Gradient(13, 7, alpha);
    const std::string path = dir.File(alpha ? "rgba.png" : "rgb.png");
    WritePngAtomically(path, image);
    const RgbaImage back = ReadPng(path);
    EXPECT_EQ(back.width, 13);
    EXPECT_EQ(back.height, 7);
    EXPECT_EQ(back.hasAlpha, alpha);
    EXPECT_EQ(back.rgba, image.rgba);
  }
  EXPECT_EQ(dir.EntryCount(), 2u) << "no temporary file may remain";
}

TEST(PngFile, ReplacesAnExistingFileWhole) {
  TempDir dir;
  const std::string path = dir.File("out.png");
  WriteBytes(path, "old contents");
  WritePngAtomically(path, Gradient(4, 4, false));
  EXPECT_EQ(ReadPng(path).width, 4);
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(PngFile, RefusesBadFilesWithAMessage) {
  TempDir dir;
  WriteBytes(dir.File("text.png"), "this is not a picture at all");
  WriteBytes(dir.File("empty.png"), "");
  WritePngAtomically(dir.File("good.png"), Gradient(32, 32, false));
  std::ifstream good(dir.File("good.png"), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(good)), std::istreambuf_iterator<char>());
  WriteBytes(dir.File("truncated.png"), bytes.substr(0, bytes.size() / 2));

  ASSERT_TRUE(Testing::WriteSixteenBitPng(dir.File("deep.png")));

  const struct {
    const char* name;
    const char* message;
  } cases[] = {
      {"missing.png", "cannot open"},
      {"text.png", "not a PNG file"},
      {"empty.png", "not a PNG file"},
      {"truncated.png", "damaged PNG"},
      {"deep.png", "16-bit PNG files are not supported"},
  };
  for (const auto& c : cases) {
    const std::string message = MessageOf(dir.File(c.name));
    EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
    EXPECT_NE(message.find(c.name), std::string::npos) << "the message names the file: " << message;
  }
}

TEST(PngFile, TheSizeCheckSeesTheHeaderBeforeAnyPixelIsDecoded) {
  TempDir dir;
  ASSERT_TRUE(Testing::WriteHugeHeaderPng(dir.File("huge.png"), 30000, 20000));
  int seenWidth = 0;
  int seenHeight = 0;
  const auto refuse = [&](int width, int height) {
    seenWidth = width;
    seenHeight = height;
    throw ToolError("too large");
  };
  try {
    ReadPng(dir.File("huge.png"), refuse);
    ADD_FAILURE() << "the check refused the picture";
  } catch (const ToolError& error) {
    EXPECT_STREQ(error.what(), "too large") << "refused from the header, not by decoding the (empty) pixels";
  }
  EXPECT_EQ(seenWidth, 30000);
  EXPECT_EQ(seenHeight, 20000);
}

TEST(PngFile, AFailedWriteLeavesNothing) {
  TempDir dir;
  EXPECT_THROW(WritePngAtomically(dir.File("no/such/dir/out.png"), Gradient(2, 2, false)), ToolError);
  EXPECT_EQ(dir.EntryCount(), 0u);
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
