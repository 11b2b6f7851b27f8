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
  // Returns no pattern for a name without a conversion; throws UsageError for a
  // name with two conversions or a frame number wider than 16 digits.
  static std::optional<FramePattern> Parse(const std::string& text);

  std::string Format(int frame) const;
  // The frame number a name spells exactly as Format would, if it does.
  std::optional<int> FrameOf(const std::string& name) const;

private:
  friend std::vector<int> FindSequenceFrames(const FramePattern& pattern);
  std::string prefix;
  std::string suffix;
  int digitCount = 0;
  bool padWithZeros = false;
};

// The file a name without a conversion stands for: "%%" read as one "%", as
// printf reads it; any other percent sign as it is.
std::string PlainFileName(const std::string& text);

// The frames of a sequence on disk: every existing file the pattern spells, in
// number order, from any first number, gaps and all.
std::vector<int> FindSequenceFrames(const FramePattern& pattern);

}  // namespace Orvane::Lumisk::RenderTool
