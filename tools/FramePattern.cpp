#include "tools/FramePattern.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>

#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

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
  if (tooWide) throw ToolError("\"" + text + "\": the frame number's width is at most 16");
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
    if (found) throw ToolError("\"" + text + "\": a frame pattern holds only one frame number");
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

std::vector<int> FindSequenceFrames(const FramePattern& pattern) {
  std::vector<int> frames;
  int frame = FileExists(pattern.Format(0)) ? 0 : 1;
  while (FileExists(pattern.Format(frame))) frames.push_back(frame++);
  return frames;
}

}  // namespace Orvane::Lumisk::RenderTool
