// Where the tool's pictures go: a new or regular file is replaced whole through
// a temporary file whose name fits wherever the target's fits; a FIFO or a
// device node at the path is written into and never replaced nor removed.
#include <sys/stat.h>

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/render_tool/TempDir.h"
#include "tools/PngFile.h"
#include "tools/ToolError.h"
#ifndef _WIN32
#include "tests/render_tool/FifoReader.h"
#endif

namespace Orvane::Lumisk::RenderTool {
namespace {

using Testing::TempDir;

RgbaImage Picture(bool alpha) {
  RgbaImage image(9, 5, alpha);
  for (size_t i = 0; i < image.rgba.size(); ++i) image.rgba[i] = uint8_t(i * 37 % 256);
  if (!alpha)
    for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
  return image;
}

// The longest name a file in `dir` may have: 255 bytes on the usual file
// systems; on Windows the ANSI file functions also limit the whole path to
// MAX_PATH - 1 characters.
size_t LongestName([[maybe_unused]] const TempDir& dir) {
#ifdef _WIN32
  return std::min<size_t>(255, MAX_PATH - 1 - (std::filesystem::absolute(dir.Path()).string().size() + 1));
#else
  return 255;
#endif
}

TEST(OutputFile, ATemporaryNameFitsWheneverTheNameFits) {
  TempDir dir;
  const size_t longest = LongestName(dir);
  ASSERT_GT(longest, 20u);
  const std::string names[] = {std::string(longest - 13, 'a') + ".png", std::string(longest - 9, 'b') + ".png",
                               std::string(longest - 4, 'c') + ".png"};
  size_t written = 0;
  for (const std::string& name : names) {
    ASSERT_LE(name.size(), 255u);
    for (const bool alpha : {true, false}) {  // the second write replaces the first
      WritePngAtomically(dir.File(name), Picture(alpha));
      EXPECT_EQ(ReadPng(dir.File(name)).rgba, Picture(alpha).rgba) << name.size() << " bytes";
    }
    EXPECT_EQ(dir.EntryCount(), ++written) << "no temporary file remains";
  }
}

TEST(OutputFile, ADirectoryIsRefusedAndKept) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("out.png"));
  EXPECT_THROW(WritePngAtomically(dir.File("out.png"), Picture(false)), ToolError);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("out.png")));
  EXPECT_EQ(dir.EntryCount(), 1u);
}

#ifndef _WIN32
TEST(OutputFile, ASymbolicLinkStaysAndItsFileGetsThePicture) {
  TempDir dir;
  std::ofstream(dir.File("target.png")) << "old";
  std::filesystem::create_symlink("target.png", dir.File("link.png"));
  WritePngAtomically(dir.File("link.png"), Picture(true));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.png")));
  EXPECT_EQ(ReadPng(dir.File("target.png")).rgba, Picture(true).rgba);
  EXPECT_EQ(dir.EntryCount(), 2u);
}

TEST(OutputFile, AFifoIsWrittenIntoAndStaysAFifo) {
  TempDir dir;
  const std::string fifo = dir.File("stream.png");
  Testing::FifoReader reader(fifo);
  ASSERT_TRUE(reader.Made()) << std::strerror(errno);
  EXPECT_NO_THROW(WritePngAtomically(fifo, Picture(true)));
  const std::string received = reader.Finish();
  EXPECT_TRUE(std::filesystem::is_fifo(fifo)) << "the FIFO must not be replaced by a file";
  EXPECT_EQ(dir.EntryCount(), 1u);
  TempDir copy;
  std::ofstream(copy.File("got.png"), std::ios::binary) << received;
  EXPECT_EQ(ReadPng(copy.File("got.png")).rgba, Picture(true).rgba) << "the whole picture came through the FIFO";
}

// A device node of our own beside the test's files (the system's /dev is
// never touched): 1,3 discards what it is given, as /dev/null does; 1,7 takes
// nothing, as /dev/full does.
class DeviceNode : public ::testing::Test {
protected:
  static bool Make(const std::string& path, unsigned major, unsigned minor) {
    return mknod(path.c_str(), S_IFCHR | 0600, makedev(major, minor)) == 0;
  }
  static bool SameNode(const std::string& path, unsigned major, unsigned minor) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode) && info.st_rdev == makedev(major, minor);
  }
  TempDir dir;
};

TEST_F(DeviceNode, IsWrittenIntoAndNeverReplaced) {
  if (!Make(dir.File("null.png"), 1, 3) || !Make(dir.File("full.png"), 1, 7))
    GTEST_SKIP() << "making a device node needs CAP_MKNOD: " << std::strerror(errno);
  EXPECT_NO_THROW(WritePngAtomically(dir.File("null.png"), Picture(false)));
  EXPECT_TRUE(SameNode(dir.File("null.png"), 1, 3));
  try {
    WritePngAtomically(dir.File("full.png"), Picture(false));
    ADD_FAILURE() << "a device that takes nothing took the picture";
  } catch (const ToolError& error) {
    EXPECT_NE(std::string(error.what()).find("cannot write"), std::string::npos) << error.what();
  }
  EXPECT_TRUE(SameNode(dir.File("full.png"), 1, 7)) << "a failed write must not remove or replace the node";
  EXPECT_EQ(dir.EntryCount(), 2u) << "no temporary file beside them";
}
#endif

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
