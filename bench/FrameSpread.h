// The spread of a row's timed renders: the fastest and the median, which a
// slow outlier (another job on the machine) moves less than a mean.
#pragma once

#include <algorithm>
#include <vector>

namespace Orvane::Lumisk::Bench {

struct FrameSpread {
  double minMs = 0, medianMs = 0;
};

// `ms` holds at least one time.
inline FrameSpread SpreadOf(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  const std::size_t half = ms.size() / 2;
  const double median = ms.size() % 2 == 1 ? ms[half] : (ms[half - 1] + ms[half]) / 2;
  return {ms.front(), median};
}

}  // namespace Orvane::Lumisk::Bench
