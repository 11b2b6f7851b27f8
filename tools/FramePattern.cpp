#include "tools/FramePattern.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

#ifdef _WIN32
constexpr const char* kPathSeparators = "/\\";
#else
constexpr const char* kPathSeparators = "/";
#endif

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

struct Conversion {
  size_t end = 0;  // the index just after the 'd'
  int width = 0;
  bool zeroPad = false;
};

// The conversion %d, %Nd or %0Nd that starts at text[at] == '%', if one does.
std::optional<Conversion> ConversionAt(const std::string& text, size_t at) {
  Conversion conversion;
  size_t i = at + 1;
  conversion.zeroPad = i < text.size() && text[i] == '0';
  if (conversion.zeroPad) ++i;
  bool tooWide = false;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    conversion.width = conversion.width * 10 + (text[i] - '0');
    tooWide = tooWide || conversion.width > 16;
    if (tooWide) conversion.width = 17;
  }
  if (i >= text.size() || text[i] != 'd') return std::nullopt;
  if (tooWide) throw UsageError("\"" + text + "\": the frame number's width is at most 16");
  conversion.end = i + 1;
  return conversion;
}

bool IsEscapedPercent(const std::string& text, size_t i) {
  return text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%';
}

}  // namespace

std::optional<FramePattern> FramePattern::Parse(const std::string& text) {
  FramePattern pattern;
  bool found = false;
  std::string* out = &pattern.prefix;
  for (size_t i = 0; i < text.size();) {
    if (IsEscapedPercent(text, i)) {
      *out += '%';
      i += 2;
      continue;
    }
    const std::optional<Conversion> conversion = text[i] == '%' ? ConversionAt(text, i) : std::nullopt;
    if (!conversion) {
      *out += text[i++];
      continue;
    }
    if (found) throw UsageError("\"" + text + "\": a frame pattern holds only one frame number");
    pattern.digitCount = conversion->width;
    pattern.padWithZeros = conversion->zeroPad;
    i = conversion->end;
    found = true;
    out = &pattern.suffix;
  }
  if (!found) return std::nullopt;
  return pattern;
}

std::string FramePattern::Format(int frame) const {
  char number[32];
  std::snprintf(number, sizeof number, padWithZeros ? "%0*d" : "%*d", digitCount, frame);
  return prefix + number + suffix;
}

std::string PlainFileName(const std::string& text) {
  std::string name;
  for (size_t i = 0; i < text.size(); ++i) {
    name += text[i];
    if (IsEscapedPercent(text, i)) ++i;
  }
  return name;
}

std::optional<int> FramePattern::FrameOf(const std::string& name) const {
  if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return std::nullopt;
  const std::string number = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  const size_t first = number.find_first_not_of(' ');
  if (first == std::string::npos || !std::isdigit(static_cast<unsigned char>(number[first]))) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long frame = std::strtoll(number.c_str() + first, &end, 10);
  if (*end != '\0' || errno == ERANGE || frame > std::numeric_limits<int>::max()) return std::nullopt;
  // Only the spelling the pattern gives: "%03d" takes 007, not 7 nor 0007.
  if (Format(int(frame)) != name) return std::nullopt;
  return int(frame);
}

std::vector<int> FindSequenceFrames(const FramePattern& pattern) {
  // The frames are the files, in the directory that holds the frame number,
  // whose names the pattern spells; the rest of the path must exist too.
  const size_t lastSeparator = pattern.prefix.find_last_of(kPathSeparators);
  const std::string directory = lastSeparator == std::string::npos ? "" : pattern.prefix.substr(0, lastSeparator + 1);
  const size_t nextSeparator = pattern.suffix.find_first_of(kPathSeparators);
  const std::string rest = nextSeparator == std::string::npos ? "" : pattern.suffix.substr(nextSeparator);
  std::vector<int> frames;
  std::error_code failed;
  namespace fs = std::filesystem;
  for (fs::directory_iterator it(directory.empty() ? "." : directory, failed), end; !failed && it != end;
       it.increment(failed)) {
    const std::string candidate = directory + it->path().filename().string() + rest;
    const std::optional<int> frame = pattern.FrameOf(candidate);
    if (frame && FileExists(candidate)) frames.push_back(*frame);
  }
  std::sort(frames.begin(), frames.end());
  return frames;
}

}  // namespace Orvane::Lumisk::RenderTool
