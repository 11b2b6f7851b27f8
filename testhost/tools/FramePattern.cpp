#include "testhost/tools/FramePattern.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>

#include "testhost/tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Parses the conversion that starts at text[at] == '%' (not "%%"); returns the
// index just after it.
size_t ParseConversion(const std::string& text, size_t at, int& width, bool& zeroPad) {
  size_t i = at + 1;
  zeroPad = i < text.size() && text[i] == '0';
  if (zeroPad) ++i;
  width = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    width = width * 10 + (text[i] - '0');
    if (width > 16) throw ToolError("\"" + text + "\": the frame number's width is at most 16");
    ++i;
  }
  if (i >= text.size() || text[i] != 'd')
    throw ToolError("\"" + text + "\": a frame pattern takes one %d, %Nd or %0Nd and %% for a percent sign");
  return i + 1;
}

}  // namespace

std::optional<FramePattern> FramePattern::Parse(const std::string& text) {
  FramePattern pattern;
  bool found = false;
  std::string* out = &pattern.prefix_;
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '%') {
      *out += text[i++];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '%') {
      *out += '%';
      i += 2;
      continue;
    }
    if (found) throw ToolError("\"" + text + "\": a frame pattern holds only one frame number");
    i = ParseConversion(text, i, pattern.width_, pattern.zeroPad_);
    found = true;
    out = &pattern.suffix_;
  }
  if (!found) return std::nullopt;
  return pattern;
}

std::string FramePattern::Format(int frame) const {
  char number[32];
  std::snprintf(number, sizeof number, zeroPad_ ? "%0*d" : "%*d", width_, frame);
  return prefix_ + number + suffix_;
}

std::vector<int> FindSequenceFrames(const FramePattern& pattern) {
  std::vector<int> frames;
  int frame = FileExists(pattern.Format(0)) ? 0 : 1;
  while (FileExists(pattern.Format(frame))) frames.push_back(frame++);
  return frames;
}

}  // namespace Orvane::Lumisk::RenderTool
