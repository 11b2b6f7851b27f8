// A small 16-bit PNG file, written with libpng directly, for the tests of its refusal.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include <png.h>

namespace Orvane::Lumisk::RenderTool::Testing {

inline bool WriteSixteenBitPng(const std::string& path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = 2;
  png.height = 2;
  png.format = PNG_FORMAT_LINEAR_RGB;
  const uint16_t deep[12] = {};
  return png_image_write_to_file(&png, path.c_str(), 0, deep, 0, nullptr) != 0;
}

}  // namespace Orvane::Lumisk::RenderTool::Testing
