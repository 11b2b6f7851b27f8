// A printf-style file-name pattern for a numbered sequence, such as
// "frames/%04d.png": one integer conversion (%d, %Nd or %0Nd) and "%%" for a
// literal percent sign. A percent sign that starts no conversion ("50%.png")
// is itself, so that such names can be used as they stand.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Orvane::Lumisk::RenderTool {

class FramePattern {
public:
  // Returns no pattern for a name without a conversion; throws ToolError for a
  // name with two conversions or a frame number wider than 16 digits.
  static std::optional<FramePattern> Parse(const std::string& text);

  std::string Format(int frame) const;

private:
  std::string prefix;
  std::string suffix;
  int digitCount = 0;
  bool padWithZeros = false;
};

// The file a name without a conversion stands for: "%%" read as one "%", as
// printf reads it; any other percent sign as it is.
std::string PlainFileName(const std::string& text);

// The frames of a sequence on disk: starting at 0, or at 1 when there is no
// frame 0, up to the last frame before the first missing number.
std::vector<int> FindSequenceFrames(const FramePattern& pattern);

}  // namespace Orvane::Lumisk::RenderTool
