// lumisk-render as scripts use it: the built program run on real files through
// the built module. Good runs write the pictures; every bad input ends with a
// message and the tool's own exit code (2 for a usage error, 1 for a failed
// render) and leaves no output file behind. The exact code matters: a crash or
// a sanitizer report also exits non-zero.
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/render_tool/FifoReader.h"
#include "tests/render_tool/HugeHeaderPng.h"
#include "tests/render_tool/SixteenBitPng.h"
#include "tests/render_tool/TempDir.h"
#include "tools/PngFile.h"
#include "tools/RenderMemory.h"
#include "tools/TestCard.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

using Testing::TempDir;

constexpr int kExitRenderFailed = 1;
constexpr int kExitUsage = 2;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Runs the tool in `dir` with the arguments (each single-quoted for the shell).
RunResult RunTool(const TempDir& dir, const std::vector<std::string>& args) {
  std::string command = "cd '" + dir.Path() + "' && '" LUMISK_RENDER_TOOL "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " > .stdout 2> .stderr";
  const int status = std::system(command.c_str());
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadText(dir.File(".stdout"));
  result.err = ReadText(dir.File(".stderr"));
  // A sanitizer report may share an exit code with the tool's own failures.
  EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("runtime error:"), std::string::npos) << result.err;
  std::remove(dir.File(".stdout").c_str());
  std::remove(dir.File(".stderr").c_str());
  return result;
}

bool Exists(const std::string& path) {
  return std::ifstream(path).good();
}

RgbaImage Picture(int w, int h, bool alpha) {
  RgbaImage image(w, h, alpha);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image.Pixel(x, y);
      p[0] = uint8_t(x * 5);
      p[1] = uint8_t(y * 7);
      p[2] = (x / 4 + y / 4) % 2 ? 250 : 10;
      p[3] = alpha ? uint8_t(128 + x) : 255;
    }
  return image;
}

TEST(RenderToolProgram, RendersTheTestCardWithNoArguments) {
  TempDir dir;
  const RunResult run = RunTool(dir, {});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const RgbaImage rendered = ReadPng(dir.File("lumisk.png"));
  EXPECT_EQ(rendered.width, kTestCardWidth);
  EXPECT_EQ(rendered.height, kTestCardHeight);
  EXPECT_FALSE(rendered.hasAlpha);
  EXPECT_NE(rendered.rgba, MakeTestCard().rgba) << "the card comes out blurred";
}

TEST(RenderToolProgram, KeepsTheInputsSizeAndAlphaAndBlurZeroKeepsAnOpaquePicture) {
  TempDir dir;
  WritePngAtomically(dir.File("rgb.png"), Picture(40, 24, false));
  WritePngAtomically(dir.File("rgba.png"), Picture(40, 24, true));
  RunResult run = RunTool(dir, {"--blur", "0", "rgb.png", "same.png"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadPng(dir.File("same.png")).rgba, Picture(40, 24, false).rgba);

  run = RunTool(dir, {"--lens", "circular", "--quality", "high", "--blur", "6", "rgba.png", "-o", "out.png"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const RgbaImage out = ReadPng(dir.File("out.png"));
  EXPECT_TRUE(out.hasAlpha);
  EXPECT_EQ(out.width, 40);
  EXPECT_EQ(out.height, 24);
}

TEST(RenderToolProgram, DownsampleRendersAtTheLowerResolution) {
  TempDir dir;
  WritePngAtomically(dir.File("in.png"), Picture(41, 24, false));
  const RunResult run =
      RunTool(dir, {"--downsample", "2", "--map", "circle", "--center", "20,12", "in.png", "out.png"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const RgbaImage out = ReadPng(dir.File("out.png"));
  EXPECT_EQ(out.width, 21);
  EXPECT_EQ(out.height, 12);
}

TEST(RenderToolProgram, RendersANumberedSequenceWithProgress) {
  TempDir dir;
  ASSERT_EQ(std::system(("mkdir '" + dir.File("in") + "' '" + dir.File("out") + "'").c_str()), 0);
  for (int frame = 1; frame <= 3; ++frame) {
    char name[32];
    std::snprintf(name, sizeof name, "in/%03d.png", frame);
    WritePngAtomically(dir.File(name), Picture(16, 16, false));
  }
  const RunResult run = RunTool(dir, {"--map-layer", "in/002.png", "in/%03d.png", "out/f%d.png"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const char* name : {"out/f1.png", "out/f2.png", "out/f3.png"}) EXPECT_TRUE(Exists(dir.File(name))) << name;
  EXPECT_NE(run.err.find("frame 3/3"), std::string::npos) << run.err;
}

TEST(RenderToolProgram, HelpNamesTheParameters) {
  TempDir dir;
  const RunResult run = RunTool(dir, {"--help"});
  EXPECT_EQ(run.exitCode, 0);
  for (const char* text : {"\"Blur Strength\", 0 to 400, default 20", "\"Lens Shape\"", "\"Feather\"",
                           "\"Blur Focal Distance\"", "--map-layer", "--downsample"})
    EXPECT_NE(run.out.find(text), std::string::npos) << text << "\n" << run.out;
  // Help makes no GL context: no GL lines anywhere.
  EXPECT_EQ(run.out.find("OpenGL"), std::string::npos) << run.out;
  EXPECT_EQ(run.err.find("OpenGL"), std::string::npos) << run.err;
}

// Noise: a PNG file about as large as its pixels, slow to encode.
RgbaImage Noise(int w, int h) {
  RgbaImage image(w, h, false);
  std::uint32_t state = 12345;
  for (std::uint8_t& byte : image.rgba) {
    state = state * 1664525u + 1013904223u;
    byte = std::uint8_t(state >> 24);
  }
  return image;
}

struct BadRun {
  const char* name;
  std::vector<std::string> args;
  int exitCode;
  const char* message;
};

void PrintTo(const BadRun& c, std::ostream* os) {
  *os << c.name;
}

class RenderToolBadInput : public ::testing::TestWithParam<BadRun> {};

TEST_P(RenderToolBadInput, FailsClearlyWithoutAnOutputFile) {
  const BadRun& c = GetParam();
  TempDir dir;
  WritePngAtomically(dir.File("good.png"), Picture(8, 8, false));
  std::ofstream(dir.File("text.png")) << "no picture here";
  ASSERT_TRUE(Testing::WriteSixteenBitPng(dir.File("deep.png")));
  // 3.6 GB of pixels if decoded before the size check.
  ASSERT_TRUE(Testing::WriteHugeHeaderPng(dir.File("huge.png"), 30000, 30000));
  // Its PNG file is larger than a stdio buffer: writes fail while it is encoded.
  WritePngAtomically(dir.File("noise.png"), Noise(64, 64));
  std::vector<std::string> args = c.args;
  const RunResult run = RunTool(dir, args);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  EXPECT_FALSE(Exists(dir.File("out.png"))) << "no output file";
  EXPECT_FALSE(Exists(dir.File("lumisk.png")));
  EXPECT_EQ(dir.EntryCount(), 5u) << "nothing else left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RenderToolBadInput,
    ::testing::Values(
        BadRun{"MissingInput", {"missing.png", "out.png"}, kExitRenderFailed, "cannot open"},
        BadRun{"NotAPng", {"text.png", "out.png"}, kExitRenderFailed, "not a PNG file"},
        BadRun{"SixteenBit", {"deep.png", "out.png"}, kExitRenderFailed, "16-bit PNG files are not supported"},
        BadRun{"BlurOutOfRange", {"--blur", "401", "good.png", "out.png"}, kExitUsage, "between 0 and 400"},
        BadRun{"FeatherOutOfRange", {"--feather", "-1", "good.png", "out.png"}, kExitUsage, "\"Feather\""},
        BadRun{"ScaleOutOfRange", {"--scale-x", "5001", "out.png"}, kExitUsage, "\"Scale X\""},
        BadRun{"UnknownLens", {"--lens", "square", "good.png", "out.png"}, kExitUsage, "circular|hexagon|pentagon"},
        BadRun{"UnknownOption", {"--sharpen", "good.png", "out.png"}, kExitUsage, "unknown option"},
        BadRun{"MissingMapLayer", {"--map-layer", "nope.png", "good.png", "out.png"}, kExitRenderFailed, "nope.png"},
        BadRun{"HugeInput",
               {"huge.png", "out.png"},
               kExitRenderFailed,
               "\"huge.png\": 30000 x 30000 is larger than the GL maximum texture size"},
        BadRun{"HugeMapLayer",
               {"--map-layer", "huge.png", "good.png", "out.png"},
               kExitRenderFailed,
               "\"huge.png\": 30000 x 30000 is larger than the GL maximum texture size"},
        BadRun{"OutputPatternAlone", {"good.png", "out%d.png"}, kExitUsage, "needs an INPUT pattern"},
        BadRun{"InputPatternAlone", {"none%03d.png", "out.png"}, kExitUsage, "needs an OUTPUT pattern"},
        BadRun{"TwoFrameNumbers", {"in%d_%d.png", "out%d.png"}, kExitUsage, "only one frame number"},
        BadRun{"EmptyInput", {"", "out.png"}, kExitUsage, "an INPUT file name is needed"},
        BadRun{"EmptyOutput", {"good.png", ""}, kExitUsage, "an OUTPUT file name is needed"},
        BadRun{"EmptyOutputOption", {"-o", ""}, kExitUsage, "an OUTPUT file name is needed"},
        BadRun{"FullDisk", {"--blur", "0", "noise.png", "/dev/full"}, kExitRenderFailed, "No space left on device"},
        BadRun{"EmptySequence", {"none%03d.png", "out%03d.png"}, kExitRenderFailed, "no frame of the sequence"},
        BadRun{"BothFromStandardInput", {"--map-layer", "-", "-", "out.png"}, kExitUsage, "both be standard input"},
        BadRun{"UnwritableOutput", {"good.png", "no/such/dir/out.png"}, kExitRenderFailed, "cannot create"}),
    [](const ::testing::TestParamInfo<BadRun>& param) { return param.param.name; });

class RenderToolOverwrite : public ::testing::TestWithParam<BadRun> {};

TEST_P(RenderToolOverwrite, RefusesAnOutputThatNamesAFileItReads) {
  const BadRun& c = GetParam();
  TempDir dir;
  WritePngAtomically(dir.File("in.png"), Picture(8, 8, false));
  WritePngAtomically(dir.File("map.png"), Picture(8, 8, true));
  WritePngAtomically(dir.File("seq1.png"), Picture(8, 4, false));
  WritePngAtomically(dir.File("seq2.png"), Picture(4, 8, false));
  std::filesystem::create_hard_link(dir.File("in.png"), dir.File("link.png"));
  const char* files[] = {"in.png", "map.png", "seq1.png", "seq2.png", "link.png"};
  std::vector<std::string> before;
  for (const char* name : files) before.push_back(ReadText(dir.File(name)));

  const RunResult run = RunTool(dir, c.args);
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
  EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(ReadText(dir.File(files[i])), before[i]) << files[i];
  EXPECT_EQ(dir.EntryCount(), before.size()) << "nothing written";
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, RenderToolOverwrite,
    ::testing::Values(
        BadRun{"TheInput",
               {"in.png", "in.png"},
               kExitUsage,
               "\"in.png\": the output would overwrite the input \"in.png\""},
        BadRun{"TheInputByAnotherPath", {"in.png", "./in.png"}, kExitUsage, "would overwrite the input \"in.png\""},
        BadRun{"AHardLinkOfTheInput", {"in.png", "link.png"}, kExitUsage, "would overwrite the input \"in.png\""},
        BadRun{"TheMapLayer",
               {"--map-layer", "map.png", "in.png", "map.png"},
               kExitUsage,
               "would overwrite the map layer \"map.png\""},
        BadRun{"TheMapLayerWithTheTestCard",
               {"--map-layer", "map.png", "-o", "map.png"},
               kExitUsage,
               "would overwrite the map layer \"map.png\""},
        BadRun{"TheSequenceItself", {"seq%d.png", "seq%d.png"}, kExitUsage, "would overwrite the input \"seq1.png\""},
        BadRun{"TheSequenceByAnotherPattern",
               {"seq%d.png", "./seq%01d.png"},
               kExitUsage,
               "would overwrite the input \"seq1.png\""}),
    [](const ::testing::TestParamInfo<BadRun>& param) { return param.param.name; });

// An existing output that is not a regular file is written into, never
// replaced: a render streams into a FIFO, and into a device node of the test's
// own that discards it (the system's /dev is never touched).
TEST(RenderToolProgram, StreamsIntoAFifoAndADeviceNodeWithoutReplacingThem) {
  TempDir dir;
  WritePngAtomically(dir.File("in.png"), Picture(40, 24, true));
  const std::string fifo = dir.File("stream.png");
  Testing::FifoReader reader(fifo);
  ASSERT_TRUE(reader.Made());
  const RunResult run = RunTool(dir, {"--blur", "4", "in.png", "stream.png"});
  const std::string received = reader.Finish();
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  TempDir copy;
  std::ofstream(copy.File("got.png"), std::ios::binary) << received;
  const RgbaImage streamed = ReadPng(copy.File("got.png"));
  EXPECT_EQ(streamed.width, 40);
  EXPECT_TRUE(streamed.hasAlpha);

  if (mknod(dir.File("null.png").c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0)
    GTEST_SKIP() << "making a device node needs CAP_MKNOD";
  const RunResult intoNode = RunTool(dir, {"in.png", "null.png"});
  EXPECT_EQ(intoNode.exitCode, 0) << intoNode.err;
  struct stat node {};
  ASSERT_EQ(lstat(dir.File("null.png").c_str(), &node), 0);
  EXPECT_TRUE(S_ISCHR(node.st_mode) && node.st_rdev == makedev(1, 3)) << "the node must stay as it was";
  EXPECT_EQ(dir.EntryCount(), 3u) << "in.png, the FIFO and the node; nothing else";
}

// '%' in names: "%%" is a percent sign, a '%' that starts no conversion is
// itself, and an input that exists as written is that file.
TEST(RenderToolProgram, NamesWithPercentSigns) {
  const struct {
    const char* input;  // created as written
    const char* inArg;
    const char* outArg;
    const char* written;
  } cases[] = {
      {"50%.png", "50%.png", "100%.png", "100%.png"},
      {"50%.png", "50%%.png", "a%%b.png", "a%b.png"},
      {"%d.png", "%d.png", "out.png", "out.png"},   // exists as written: no pattern
      {"%%d.png", "%%d.png", "%%d.png", "%d.png"},  // the input as written, the output as printf reads it
  };
  for (const auto& c : cases) {
    TempDir dir;
    WritePngAtomically(dir.File(c.input), Picture(8, 8, false));
    const RunResult run = RunTool(dir, {"--blur", "0", c.inArg, c.outArg});
    EXPECT_EQ(run.exitCode, 0) << c.inArg << " -> " << c.outArg << ": " << run.err;
    EXPECT_TRUE(Exists(dir.File(c.written))) << c.written;
    EXPECT_EQ(dir.EntryCount(), std::string(c.input) == c.written ? 1u : 2u) << c.inArg << " -> " << c.outArg;
  }
}

TEST(RenderToolProgram, TakesNamesAsLongAsTheFileSystemTakes) {
  TempDir dir;
  for (const size_t length : {246, 250, 255}) {
    const std::string in = std::string(length - 4, 'i') + ".png";
    const std::string out = std::string(length - 4, 'o') + ".png";
    WritePngAtomically(dir.File(in), Picture(8, 8, false));
    const RunResult run = RunTool(dir, {"--blur", "2", in, out});
    EXPECT_EQ(run.exitCode, 0) << length << ": " << run.err;
    EXPECT_EQ(ReadPng(dir.File(out)).width, 8) << length;
    std::filesystem::remove(dir.File(in));
    std::filesystem::remove(dir.File(out));
    EXPECT_EQ(dir.EntryCount(), 0u) << "no temporary file left at " << length;
  }
}

// A picture whose render needs more memory than the system has is refused
// from its header, naming both figures and --downsample; downsampled it
// passes the check (and then the empty pixel data is found damaged).
TEST(RenderToolProgram, RefusesAPictureTheMemoryCannotHoldBeforeDecodingIt) {
  const std::optional<std::uint64_t> available = AvailableMemoryBytes();
  if (!available || *available >= RenderMemoryBytes({16384, 16384}, std::nullopt, 1))
    GTEST_SKIP() << "this machine has the memory for a 16384 x 16384 render";
  TempDir dir;
  ASSERT_TRUE(Testing::WriteHugeHeaderPng(dir.File("huge.png"), 16384, 16384));
  RunResult run = RunTool(dir, {"huge.png", "out.png"});
  EXPECT_EQ(run.exitCode, kExitRenderFailed);
  for (const char* part : {"\"huge.png\": rendering 16384 x 16384 needs about 29.4 GB of memory, more than the",
                           "GB available", "--downsample N"})
    EXPECT_NE(run.err.find(part), std::string::npos) << part << "\n" << run.err;
  run = RunTool(dir, {"--downsample", "8", "huge.png", "out.png"});
  EXPECT_EQ(run.exitCode, kExitRenderFailed);
  EXPECT_NE(run.err.find("damaged PNG file"), std::string::npos) << run.err;
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(RenderToolProgram, RefusesAFrameLargerThanTheMaximumTextureSize) {
  TempDir dir;
  // llvmpipe takes 16384 texels a side; a picture one row high stays small.
  WritePngAtomically(dir.File("wide.png"), RgbaImage(16385, 1, false));
  RunResult run = RunTool(dir, {"wide.png", "out.png"});
  EXPECT_EQ(run.exitCode, kExitRenderFailed);
  EXPECT_NE(run.err.find("larger than the GL maximum texture size"), std::string::npos) << run.err;
  EXPECT_FALSE(Exists(dir.File("out.png")));
  run = RunTool(dir, {"--map-layer", "wide.png", "--blur", "0", "wide.png", "out.png"});
  EXPECT_EQ(run.exitCode, kExitRenderFailed);
  EXPECT_NE(run.err.find("larger than the GL maximum texture size"), std::string::npos) << run.err;

  // The module receives the frame at 1/2 of each side: 8193 x 1 is taken,
  // for the input and the map layer alike.
  run = RunTool(dir, {"--downsample", "2", "--map-layer", "wide.png", "--blur", "0", "wide.png", "out.png"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadPng(dir.File("out.png")).width, 8193);
}

// Runs a shell command in `dir`; the tool is $TOOL there. Returns the shell's exit code.
int RunShell(const TempDir& dir, const std::string& command) {
  const int status =
      std::system(("cd '" + dir.Path() + "' && TOOL='" LUMISK_RENDER_TOOL "' && { " + command + "; }").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The picture reaches what standard output was when the tool started, under
// each name for it, down a pipe; standard error, appended to a log, keeps the
// log's text and gets the module's GL lines.
TEST(RenderToolProgram, WritesThePictureToStandardOutputDownAPipe) {
  for (const char* name : {"-", "/dev/stdout", "/proc/self/fd/1", "/dev/fd/1"}) {
    TempDir dir;
    WritePngAtomically(dir.File("in.png"), Picture(40, 24, true));
    std::ofstream(dir.File("build.log")) << "earlier text\n";
    const std::string tool = "{ \"$TOOL\" --blur 2 in.png '" + std::string(name) + "' 2>>build.log; echo $? > rc; }";
    ASSERT_EQ(RunShell(dir, tool + " | cat > got.png"), 0) << name;
    EXPECT_EQ(ReadText(dir.File("rc")), "0\n") << name;
    const RgbaImage got = ReadPng(dir.File("got.png"));
    EXPECT_EQ(got.width, 40) << name;
    EXPECT_TRUE(got.hasAlpha) << name;
    const std::string log = ReadText(dir.File("build.log"));
    EXPECT_EQ(log.rfind("earlier text\n", 0), 0u) << name << ": " << log.substr(0, 40);
    EXPECT_NE(log.find("OpenGL Version:"), std::string::npos) << name;
    EXPECT_EQ(log.find("PNG"), std::string::npos) << name << ": no picture in the log";
    EXPECT_EQ(dir.EntryCount(), 4u) << name << ": in.png, build.log, rc, got.png";
  }
}

// A pipe cannot rewind: the picture is read as it comes, as /dev/stdin or "-".
TEST(RenderToolProgram, ReadsThePictureFromAPipe) {
  for (const char* name : {"-", "/dev/stdin"}) {
    TempDir dir;
    WritePngAtomically(dir.File("in.png"), Picture(40, 24, false));
    const int code = RunShell(dir, "cat in.png | \"$TOOL\" --blur 0 '" + std::string(name) + "' out.png 2>err.txt");
    ASSERT_EQ(code, 0) << name << ": " << ReadText(dir.File("err.txt"));
    EXPECT_EQ(ReadPng(dir.File("out.png")).rgba, Picture(40, 24, false).rgba) << name;
  }
}

// Every existing frame of the pattern, in number order, from any first number,
// across gaps; names the pattern does not spell ("%04d" takes 1003, not 03)
// are no frames.
TEST(RenderToolProgram, RendersEveryExistingFrameOfASequence) {
  TempDir dir;
  ASSERT_EQ(std::system(("mkdir '" + dir.File("in") + "' '" + dir.File("out") + "'").c_str()), 0);
  for (const char* name : {"in/1001.png", "in/1002.png", "in/1004.png", "in/0999.png", "in/03.png", "in/x.png"})
    WritePngAtomically(dir.File(name), Picture(16, 16, false));
  const RunResult run = RunTool(dir, {"--blur", "1", "in/%04d.png", "out/%04d.png"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const char* name : {"out/0999.png", "out/1001.png", "out/1002.png", "out/1004.png"})
    EXPECT_TRUE(Exists(dir.File(name))) << name;
  size_t written = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.File("out"))) ++written;
  EXPECT_EQ(written, 4u);
  EXPECT_NE(run.err.find("frame 4/4: out/1004.png"), std::string::npos) << "in number order: " << run.err;
  EXPECT_NE(run.err.find("rendered 4 frames"), std::string::npos) << run.err;
}

// A replaced output is a new file with the old one's permission bits and
// owner; a hard link to the old file keeps the old picture.
TEST(RenderToolProgram, AReplacedOutputKeepsItsModeAndOwner) {
  for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0604)}) {
    TempDir dir;
    WritePngAtomically(dir.File("in.png"), Picture(8, 8, false));
    WritePngAtomically(dir.File("out.png"), Picture(4, 4, false));
    const std::string before = ReadText(dir.File("out.png"));
    ASSERT_EQ(chmod(dir.File("out.png").c_str(), mode), 0);
    const bool asRoot = geteuid() == 0;
    if (asRoot) {
      ASSERT_EQ(chown(dir.File("out.png").c_str(), 4321, 4322), 0);
    }
    std::filesystem::create_hard_link(dir.File("out.png"), dir.File("old.png"));

    const RunResult run = RunTool(dir, {"in.png", "out.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    struct stat info {};
    ASSERT_EQ(stat(dir.File("out.png").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << mode;
    if (asRoot) {
      EXPECT_EQ(info.st_uid, 4321u);
      EXPECT_EQ(info.st_gid, 4322u);
    }
    EXPECT_EQ(ReadPng(dir.File("out.png")).width, 8);
    EXPECT_EQ(ReadText(dir.File("old.png")), before) << "the hard link keeps the old picture";
  }
}

// Ctrl-C or a termination request while the picture is written: the tool
// ends by that signal, its hidden temporary file is gone, and no output
// appears under the final name. The signal is sent the moment the
// temporary file appears (watched with inotify), long before a picture this
// size is encoded and flushed.
TEST(RenderToolProgram, ASignalDuringTheWriteLeavesNoTemporaryFile) {
  TempDir dir;
  WritePngAtomically(dir.File("in.png"), Noise(2000, 2000));
  for (const int signalNumber : {SIGINT, SIGTERM}) {
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.Path().c_str(), IN_CREATE), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // As a terminal's foreground job has them, however the test was started
      // (a background shell job ignores SIGINT).
      signal(SIGINT, SIG_DFL);
      signal(SIGTERM, SIG_DFL);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      if (chdir(dir.Path().c_str()) == 0)
        execl(LUMISK_RENDER_TOOL, LUMISK_RENDER_TOOL, "--blur", "0", "in.png", "out.png", static_cast<char*>(nullptr));
      _exit(127);
    }
    bool sent = false;
    int status = 0;
    while (!sent && waitpid(child, &status, WNOHANG) == 0) {
      pollfd ready{watch, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      alignas(inotify_event) char events[4096];
      const ssize_t got = read(watch, events, sizeof events);
      for (ssize_t at = 0; at < got && !sent;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        if (event->len > 0 && std::string(event->name).rfind(".out.png.tmp-", 0) == 0) {
          kill(child, signalNumber);
          sent = true;
        }
        at += ssize_t(sizeof(inotify_event) + event->len);
      }
    }
    if (sent) waitpid(child, &status, 0);
    close(watch);
    ASSERT_TRUE(sent) << "the tool ended before writing";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber)
        << "ends by the signal " << signalNumber << ", status " << status;
    EXPECT_EQ(dir.EntryCount(), 1u) << "only in.png: no temporary file, no output";
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
