#include "ResourceFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace Orvane::Lumisk::Testing {

namespace {

class Reader {
public:
  explicit Reader(const std::vector<uint8_t>& bytes) : data(bytes) {}

  bool AtEnd() const { return position >= data.size(); }
  std::size_t Offset() const { return position; }
  void Seek(std::size_t offset) {
    if (offset > data.size()) {
      throw std::runtime_error("resource file truncated");
    }
    position = offset;
  }

  uint16_t U16() {
    Need(2);
    const auto value = static_cast<uint16_t>(data[position] | (data[position + 1] << 8));
    position += 2;
    return value;
  }
  uint32_t U32() {
    const uint32_t low = U16();
    return low | (static_cast<uint32_t>(U16()) << 16);
  }

  // A type or name field: 0xFFFF then a number, or a zero-terminated UTF-16
  // text (ASCII here).
  void IdOrName(uint16_t& id, std::string& name) {
    const uint16_t first = U16();
    if (first == 0xFFFF) {
      id = U16();
      return;
    }
    for (uint16_t c = first; c != 0; c = U16()) {
      name += static_cast<char>(c);
    }
  }

  std::vector<uint8_t> Bytes(std::size_t count) {
    Need(count);
    std::vector<uint8_t> out(data.begin() + static_cast<std::ptrdiff_t>(position),
                             data.begin() + static_cast<std::ptrdiff_t>(position + count));
    position += count;
    return out;
  }

private:
  void Need(std::size_t count) const {
    if (position + count > data.size()) {
      throw std::runtime_error("resource file truncated");
    }
  }

  const std::vector<uint8_t>& data;
  std::size_t position = 0;
};

std::size_t RoundUp4(std::size_t n) {
  return (n + 3) & ~static_cast<std::size_t>(3);
}

}  // namespace

std::vector<ResourceEntry> ReadResourceFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw std::runtime_error("cannot open " + path);
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Reader reader(bytes);
  std::vector<ResourceEntry> entries;
  while (!reader.AtEnd()) {
    const std::size_t start = reader.Offset();
    const uint32_t dataSize = reader.U32();
    const uint32_t headerSize = reader.U32();
    ResourceEntry entry;
    reader.IdOrName(entry.typeId, entry.typeName);
    reader.IdOrName(entry.nameId, entry.name);
    reader.Seek(RoundUp4(reader.Offset()));
    reader.U32();  // data version
    reader.U16();  // memory flags
    entry.language = reader.U16();
    reader.Seek(start + headerSize);
    entry.data = reader.Bytes(dataSize);
    reader.Seek(std::min(RoundUp4(reader.Offset()), bytes.size()));
    // The file opens with an empty entry that only marks the format.
    if (!(dataSize == 0 && entry.typeId == 0 && entry.typeName.empty())) {
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

const ResourceEntry* FindResource(const std::vector<ResourceEntry>& entries, const std::string& typeName,
                                  uint16_t nameId, uint16_t language) {
  for (const ResourceEntry& entry : entries) {
    if (entry.typeName == typeName && entry.name.empty() && entry.nameId == nameId && entry.language == language) {
      return &entry;
    }
  }
  return nullptr;
}

const ResourceEntry* FindResource(const std::vector<ResourceEntry>& entries, uint16_t typeId, uint16_t nameId,
                                  uint16_t language) {
  for (const ResourceEntry& entry : entries) {
    if (entry.typeName.empty() && entry.typeId == typeId && entry.name.empty() && entry.nameId == nameId &&
        entry.language == language) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace Orvane::Lumisk::Testing
