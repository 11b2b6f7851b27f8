// A PNG file of a few dozen bytes whose header claims a huge picture: the
// chunks are written by hand, so no pixels of that size exist anywhere.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace Orvane::Lumisk::RenderTool::Testing {

inline uint32_t PngCrc(const std::string& bytes) {
  uint32_t crc = 0xffffffffu;
  for (const char c : bytes) {
    crc ^= uint8_t(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xffffffffu;
}

inline std::string BigEndian(uint32_t value) {
  return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

inline std::string PngChunk(const std::string& type, const std::string& data) {
  return BigEndian(uint32_t(data.size())) + type + data + BigEndian(PngCrc(type + data));
}

// An 8-bit RGB header of width x height; the image data is an empty zlib
// stream, so a reader that went on to decode it would find the file damaged.
inline bool WriteHugeHeaderPng(const std::string& path, uint32_t width, uint32_t height) {
  const std::string signature("\x89PNG\r\n\x1a\n", 8);
  const std::string header = BigEndian(width) + BigEndian(height) + std::string("\x08\x02\x00\x00\x00", 5);
  const std::string emptyZlibStream("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
  std::ofstream file(path, std::ios::binary);
  file << signature << PngChunk("IHDR", header) << PngChunk("IDAT", emptyZlibStream) << PngChunk("IEND", "");
  return bool(file.flush());
}

}  // namespace Orvane::Lumisk::RenderTool::Testing
