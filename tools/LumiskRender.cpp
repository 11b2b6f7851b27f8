// lumisk-render: renders PNG pictures through the built effect module, driving
// it exactly as the host would. See --help.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/Host.h"
#include "tools/FrameConversion.h"
#include "tools/FramePattern.h"
#include "tools/ModuleSession.h"
#include "tools/OutputFile.h"
#include "tools/PngFile.h"
#include "tools/RenderMemory.h"
#include "tools/StandardOutputAside.h"
#include "tools/TestCard.h"
#include "tools/ToolError.h"
#include "tools/ToolOptions.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

// Standard output as the tool found it (standard error when it was closed,
// for the tool's text; no picture goes there).
FILE* gToolOutput = nullptr;
bool gStandardOutputOpen = false;

constexpr int kExitRenderFailed = 1;
constexpr int kExitUsage = 2;

// One frame to render: where its picture comes from and where it goes.
struct FrameJob {
  int frame = 0;
  std::string input;  // empty: the test card
  std::string output;
};

// An input that exists as written is that file, '%' and all; other names are
// a frame pattern when they hold a conversion, else the plain name they spell
// ("%%" for "%").
std::vector<FrameJob> PlanFrames(const ToolOptions& options) {
  std::error_code failed;
  const bool inputAsWritten =
      options.input.empty() || options.input == "-" || std::filesystem::exists(options.input, failed);
  const std::optional<FramePattern> inputPattern = inputAsWritten ? std::nullopt : FramePattern::Parse(options.input);
  const std::optional<FramePattern> outputPattern = FramePattern::Parse(options.output);
  if (!inputPattern) {
    if (outputPattern) throw UsageError("\"" + options.output + "\": a frame pattern needs an INPUT pattern too");
    const std::string input = inputAsWritten ? options.input : PlainFileName(options.input);
    return {FrameJob{0, input, PlainFileName(options.output)}};
  }
  if (!outputPattern) throw UsageError("\"" + options.output + "\": an INPUT pattern needs an OUTPUT pattern too");
  const std::vector<int> frames = FindSequenceFrames(*inputPattern);
  if (frames.empty()) throw ToolError("\"" + options.input + "\": no frame of the sequence exists (no file matches)");
  std::vector<FrameJob> jobs;
  for (int frame : frames) jobs.push_back({frame, inputPattern->Format(frame), outputPattern->Format(frame)});
  return jobs;
}

// The path with links and "." or ".." resolved, as far as the path exists.
std::string CanonicalPath(const std::string& path) {
  std::error_code failed;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, failed);
  return failed ? path : canonical.string();
}

bool SameExistingFile(const std::string& a, const std::string& b) {
  std::error_code failed;
  return std::filesystem::equivalent(a, b, failed) && !failed;
}

// Refuses, before anything is written, an output that would replace a picture
// the run reads: its own frame's input (under any name, hard links too),
// another frame's input, or the map layer.
void CheckOutputsSpareTheInputs(const std::vector<FrameJob>& jobs, const std::optional<std::string>& mapLayer) {
  std::map<std::string, std::string> readFiles;  // canonical path -> how the message names it
  for (const FrameJob& job : jobs)
    if (!job.input.empty()) readFiles.emplace(CanonicalPath(job.input), "the input \"" + job.input + "\"");
  if (mapLayer) readFiles.emplace(CanonicalPath(*mapLayer), "the map layer \"" + *mapLayer + "\"");
  for (const FrameJob& job : jobs) {
    std::error_code failed;
    if (NamesStandardOutput(job.output) || !std::filesystem::exists(job.output, failed)) continue;
    std::string replaced;
    if (const auto found = readFiles.find(CanonicalPath(job.output)); found != readFiles.end())
      replaced = found->second;
    else if (!job.input.empty() && SameExistingFile(job.output, job.input))
      replaced = "the input \"" + job.input + "\"";
    else if (mapLayer && SameExistingFile(job.output, *mapLayer))
      replaced = "the map layer \"" + *mapLayer + "\"";
    if (!replaced.empty())
      throw UsageError("\"" + job.output + "\": the output would overwrite " + replaced + "; choose another output");
  }
}

// The GL takes the frame as the module receives it: at 1/downsample of each side.
void CheckFrameSize(int width, int height, const std::string& name, int maxTextureSize, int downsample) {
  const int renderedWidth = (width + downsample - 1) / downsample;
  const int renderedHeight = (height + downsample - 1) / downsample;
  if (renderedWidth <= maxTextureSize && renderedHeight <= maxTextureSize) return;
  const std::string rendered = downsample > 1
                                   ? " (" + std::to_string(renderedWidth) + " x " + std::to_string(renderedHeight) +
                                         " at --downsample " + std::to_string(downsample) + ")"
                                   : "";
  throw ToolError("\"" + name + "\": " + std::to_string(width) + " x " + std::to_string(height) + rendered +
                  " is larger than the GL maximum texture size (" + std::to_string(maxTextureSize) + ")");
}

// How the messages name a file the tool reads.
std::string ReadName(const std::string& path) {
  return path == "-" ? "standard input" : path;
}

// Refuses, from the header, before its pixels are decoded, a picture larger
// than the GL takes or than the memory the system has for its render (with
// the map layer's share, when one is held: both are rendered together).
RgbaImage ReadFrame(const std::string& path, int maxTextureSize, int downsample,
                    const std::optional<PictureSize>& mapLayer) {
  return ReadPng(path, [&](int width, int height) {
    CheckFrameSize(width, height, ReadName(path), maxTextureSize, downsample);
    if (const std::optional<std::uint64_t> available = AvailableMemoryBytes())
      CheckRenderMemory(ReadName(path), PictureSize{width, height}, mapLayer, downsample, *available);
  });
}

// The map layer alone: its own share of the memory is checked here, the
// whole render's at each frame.
RgbaImage ReadMapLayer(const std::string& path, int maxTextureSize, int downsample, PictureSize& size) {
  return ReadPng(path, [&](int width, int height) {
    CheckFrameSize(width, height, ReadName(path), maxTextureSize, downsample);
    size = PictureSize{width, height};
    if (const std::optional<std::uint64_t> available = AvailableMemoryBytes())
      CheckMapLayerMemory(ReadName(path), size, downsample, *available);
  });
}

void WriteFrame(const std::string& output, const RgbaImage& picture) {
  if (NamesStandardOutput(output) && !gStandardOutputOpen) throw ToolError("standard output is closed");
  if (NamesStandardOutput(output))
    WritePngToStream(gToolOutput, "standard output", picture);
  else
    WritePngAtomically(output, picture);
}

void RenderFrames(const ToolOptions& options, ModuleSession& session) {
  const std::vector<FrameJob> jobs = PlanFrames(options);
  if (options.input == "-" && options.mapLayer == "-")
    throw UsageError("the input and the map layer cannot both be standard input (\"-\")");
  CheckOutputsSpareTheInputs(jobs, options.mapLayer);
  const int maxTextureSize = session.MaxTextureSize();
  std::optional<RgbaImage> mapLayer;
  std::optional<PictureSize> mapLayerSize;
  if (options.mapLayer) {
    PictureSize size;
    mapLayer =
        HostPicture(ReadMapLayer(*options.mapLayer, maxTextureSize, options.downsample, size), options.downsample);
    mapLayerSize = size;
  }
  const bool sequence = jobs.size() > 1 || FramePattern::Parse(options.output).has_value();
  for (size_t i = 0; i < jobs.size(); ++i) {
    const FrameJob& job = jobs[i];
    if (sequence) std::fprintf(stderr, "\rframe %zu/%zu: %s ", i + 1, jobs.size(), job.output.c_str());
    RgbaImage picture =
        job.input.empty() ? MakeTestCard() : ReadFrame(job.input, maxTextureSize, options.downsample, mapLayerSize);
    if (job.input.empty())
      CheckFrameSize(picture.width, picture.height, "test card", maxTextureSize, options.downsample);
    session.SetPictures(HostPicture(std::move(picture), options.downsample), mapLayer ? &*mapLayer : nullptr);
    session.Render(options.downsample, job.frame);
    WriteFrame(job.output, session.Output());
  }
  if (sequence)
    std::fprintf(stderr, "\nlumisk-render: rendered %zu frame%s (%d to %d)\n", jobs.size(), jobs.size() == 1 ? "" : "s",
                 jobs.front().frame, jobs.back().frame);
}

int Run(const std::vector<std::string>& args) {
  ToolOptions options;
  try {
    options = ParseToolOptions(args);
  } catch (const ToolError& error) {
    std::fprintf(stderr, "lumisk-render: %s\n", error.what());
    return kExitUsage;
  }
  const std::string modulePath = options.modulePath.value_or(HeadlessHost::DefaultModulePath());
  if (options.help) {
    // The names come from the module's parameter set-up alone (no GL context,
    // no GL lines); without a module the options are still listed.
    try {
      const ModuleSession session(modulePath, options.language, ModuleSession::Use::DefinitionsOnly);
      std::fputs(HelpText(session.Definitions()).c_str(), gToolOutput);
    } catch (const ToolError&) {
      std::fputs(HelpText({}).c_str(), gToolOutput);
    }
    std::fflush(gToolOutput);
    return 0;
  }
  ModuleSession session(modulePath, options.language);
  try {
    CheckSettingsAgainstParams(options, session.Definitions());
  } catch (const ToolError& error) {
    std::fprintf(stderr, "lumisk-render: %s\n", error.what());
    return kExitUsage;
  }
  session.Apply(options);
  RenderFrames(options, session);
  return 0;
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool

int main(int argc, char** argv) {
  using namespace Orvane::Lumisk::RenderTool;
  // Standard output carries only the tool's own text (--help) or the picture
  // ("-", /dev/stdout); the module's diagnostics go to standard error.
  gToolOutput = SetStandardOutputAside();
  gStandardOutputOpen = gToolOutput != nullptr;
  if (!gToolOutput) gToolOutput = stderr;
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "lumisk-render: %s\n", error.what());
    return kExitUsage;
  } catch (const ToolError& error) {
    std::fprintf(stderr, "\nlumisk-render: %s\n", error.what());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "\nlumisk-render: unexpected failure: %s\n", error.what());
  }
  return kExitRenderFailed;
}
