// Reads a compiled Windows resource file (.res): a sequence of entries, each a
// header (sizes, type, name, language) followed by its data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Orvane::Lumisk::Testing {

struct ResourceEntry {
  // A type or name is either a number or a text; typeName/name are empty for numbers.
  uint16_t typeId = 0;
  std::string typeName;
  uint16_t nameId = 0;
  std::string name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

// Throws std::runtime_error when the file cannot be read or is malformed.
std::vector<ResourceEntry> ReadResourceFile(const std::string& path);

// The entry of that type text, numeric name and language, or null.
const ResourceEntry* FindResource(const std::vector<ResourceEntry>& entries, const std::string& typeName,
                                  uint16_t nameId, uint16_t language);
const ResourceEntry* FindResource(const std::vector<ResourceEntry>& entries, uint16_t typeId, uint16_t nameId,
                                  uint16_t language);

}  // namespace Orvane::Lumisk::Testing
