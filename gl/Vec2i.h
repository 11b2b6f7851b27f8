#pragma once

#include <cstdint>

namespace Orvane::Lumisk {

// A pair of 32-bit ints: integer texture sizes.
struct Vec2i {
  std::int32_t x = 0;
  std::int32_t y = 0;

  Vec2i() = default;
  Vec2i(std::int32_t xValue, std::int32_t yValue) : x(xValue), y(yValue) {}

  bool operator!=(const Vec2i& other) const { return x != other.x || y != other.y; }
};

}  // namespace Orvane::Lumisk
