// Test pictures and pixel comparisons.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace Orvane::Lumisk::Testing {

// RGBA floats in 0..1 that differ per pixel and per channel, row 0 first.
inline std::vector<float> DistinctRgbaPattern(int width, int height) {
  std::vector<float> rgba;
  rgba.reserve(static_cast<std::size_t>(width * height * 4));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      rgba.push_back(static_cast<float>(x + 1) / static_cast<float>(width + 1));
      rgba.push_back(static_cast<float>(y + 1) / static_cast<float>(height + 1));
      rgba.push_back(0.25f + 0.05f * static_cast<float>((x + 2 * y) % 7));
      rgba.push_back(0.95f - 0.1f * static_cast<float>((3 * x + y) % 5));
    }
  }
  return rgba;
}

// The bytes of pixel (x, y), channel c, of an 8-bit picture: distinct per pixel,
// covering 0 and 255.
inline uint8_t PatternByte(int x, int y, int channel) {
  if (x == 0 && y == 0) {
    return channel % 2 == 0 ? 0 : 255;
  }
  return static_cast<uint8_t>((x * 37 + y * 91 + channel * 53 + x * y * 7) % 256);
}

// Compares two RGBA float pictures of the same size, reporting the first few
// pixels that differ by more than `tolerance`.
inline void ExpectPixelsNear(const std::vector<float>& expected, const std::vector<float>& actual, int width,
                             float tolerance) {
  ASSERT_EQ(expected.size(), actual.size());
  int reported = 0;
  for (std::size_t i = 0; i < expected.size() && reported < 8; ++i) {
    if (!(std::fabs(expected[i] - actual[i]) <= tolerance)) {
      const std::size_t pixel = i / 4;
      ADD_FAILURE() << "pixel (" << pixel % static_cast<std::size_t>(width) << ", "
                    << pixel / static_cast<std::size_t>(width) << ") channel " << i % 4 << ": expected " << expected[i]
                    << ", got " << actual[i];
      ++reported;
    }
  }
}

}  // namespace Orvane::Lumisk::Testing
