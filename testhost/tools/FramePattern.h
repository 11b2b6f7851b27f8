// A printf-style file-name pattern for a numbered sequence, such as
// "frames/%04d.png": one integer conversion (%d, %Nd or %0Nd), "%%" for a
// literal percent sign, nothing else.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Orvane::Lumisk::RenderTool {

class FramePattern {
public:
  // Returns no pattern for a plain file name (no conversion at all); throws
  // ToolError for a malformed pattern (a second conversion, an unknown one).
  static std::optional<FramePattern> Parse(const std::string& text);

  std::string Format(int frame) const;

private:
  std::string prefix_;
  std::string suffix_;
  int width_ = 0;
  bool zeroPad_ = false;
};

// The frames of a sequence on disk: starting at 0, or at 1 when there is no
// frame 0, up to the last frame before the first missing number.
std::vector<int> FindSequenceFrames(const FramePattern& pattern);

}  // namespace Orvane::Lumisk::RenderTool
