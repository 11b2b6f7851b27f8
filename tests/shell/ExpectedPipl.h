// The PiPL resource the effect must carry, built byte by byte from its table
// of properties (independently of the resource script), and the manifest's
// expectations. Shared by every test that reads the module's resources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Orvane::Lumisk::Testing {

constexpr uint16_t kPiplResourceId = 16000;
constexpr uint16_t kResourceLanguage = 1033;
constexpr uint16_t kManifestResourceType = 24;
constexpr uint16_t kManifestResourceId = 2;

constexpr uint32_t kExpectedEffectVersion = 0x00088001;
constexpr uint32_t kExpectedOutFlags = 0;
constexpr uint32_t kExpectedOutFlags2 = 8;

struct PiplProperty {
  std::string key;            // four-character code as read (e.g. "kind")
  std::vector<uint8_t> data;  // the value; its size is the property's length field
};

inline std::vector<uint8_t> Le16(uint16_t v) {
  return {uint8_t(v & 0xFF), uint8_t(v >> 8)};
}

inline std::vector<uint8_t> Le32(uint32_t v) {
  return {uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF), uint8_t((v >> 16) & 0xFF), uint8_t(v >> 24)};
}

inline std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A four-character code as the little-endian word whose big-endian bytes spell it.
inline std::vector<uint8_t> FourCC(const std::string& code) {
  return {uint8_t(code[3]), uint8_t(code[2]), uint8_t(code[1]), uint8_t(code[0])};
}

// Length byte, the characters, one zero byte.
inline std::vector<uint8_t> PascalString(const std::string& text) {
  std::vector<uint8_t> out{uint8_t(text.size())};
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
  return out;
}

inline std::vector<PiplProperty> ExpectedPiplProperties() {
  const std::string entry = "EntryPointFunc";
  std::vector<uint8_t> entryBytes(entry.begin(), entry.end());
  entryBytes.push_back(0);
  entryBytes.push_back(0);
  return {
      {"kind", FourCC("eFKT")},
      {"name", PascalString("ZQ Lumisk")},
      {"catg", PascalString("ZQ")},
      {"8664", entryBytes},
      {"ePVR", Concat(Le16(2), Le16(0))},
      {"eSVR", Concat(Le16(13), Le16(27))},
      {"eVER", Le32(kExpectedEffectVersion)},
      {"eINF", Le16(0)},
      {"eGLO", Le32(kExpectedOutFlags)},
      {"eGL2", Le32(kExpectedOutFlags2)},
      {"aeFL", Le32(8)},
      {"eMNA", PascalString("ZQ_Lumisk")},
  };
}

// Header, then each property: vendor 8BIM, key, id 0, length, data padded
// with zero bytes to a multiple of 4.
inline std::vector<uint8_t> ExpectedPiplBytes() {
  const std::vector<PiplProperty> properties = ExpectedPiplProperties();
  std::vector<uint8_t> out = Concat(Concat(Le16(1), Le32(0)), Le32(uint32_t(properties.size())));
  for (const PiplProperty& property : properties) {
    out = Concat(out, FourCC("8BIM"));
    out = Concat(out, FourCC(property.key));
    out = Concat(out, Le32(0));
    out = Concat(out, Le32(uint32_t(property.data.size())));
    out = Concat(out, property.data);
    out.resize(out.size() + (4 - property.data.size() % 4) % 4, 0);
  }
  return out;
}

}  // namespace Orvane::Lumisk::Testing
