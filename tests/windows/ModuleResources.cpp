#include "tests/windows/ModuleResources.h"

#include <windows.h>

#include <stdexcept>

namespace Orvane::Lumisk::Testing {

namespace {

// Loaded as data only: no DllMain, no static initialisers of the module run.
class DataModule {
public:
  explicit DataModule(const std::string& path)
      : dataModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    if (dataModule == nullptr) {
      throw std::runtime_error("cannot load " + path + " as data: error " + std::to_string(GetLastError()));
    }
  }
  ~DataModule() { FreeLibrary(dataModule); }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;

  HMODULE handle() const { return dataModule; }

private:
  HMODULE dataModule;
};

// A resource type or name: a 16-bit id, or a text.
void SetIdOrText(LPCSTR value, uint16_t& id, std::string& text) {
  if (IS_INTRESOURCE(value)) {
    id = static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(value));
    text.clear();
  } else {
    id = 0;
    text = value;
  }
}

// What the enumeration callbacks collect. No exception may cross the
// system's enumeration functions, so a failure is only noted here.
struct Walk {
  std::vector<ResourceEntry> entries;
  bool unloadable = false;
};

BOOL CALLBACK OnLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param) {
  auto& walk = *reinterpret_cast<Walk*>(param);
  const HRSRC found = FindResourceExA(module, type, name, language);
  const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const auto* bytes = static_cast<const uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (bytes == nullptr) {
    walk.unloadable = true;
    return FALSE;
  }
  ResourceEntry entry;
  SetIdOrText(type, entry.typeId, entry.typeName);
  SetIdOrText(name, entry.nameId, entry.name);
  entry.language = language;
  entry.data.assign(bytes, bytes + SizeofResource(module, found));
  walk.entries.push_back(std::move(entry));
  return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
  EnumResourceLanguagesA(module, type, name, OnLanguage, param);
  return TRUE;
}

BOOL CALLBACK OnType(HMODULE module, LPSTR type, LONG_PTR param) {
  EnumResourceNamesA(module, type, OnName, param);
  return TRUE;
}

}  // namespace

std::vector<ResourceEntry> ReadModuleResources(const std::string& path) {
  const DataModule module(path);
  Walk walk;
  EnumResourceTypesA(module.handle(), OnType, reinterpret_cast<LONG_PTR>(&walk));
  if (walk.unloadable) {
    throw std::runtime_error(path + ": a listed resource cannot be loaded");
  }
  return walk.entries;
}

}  // namespace Orvane::Lumisk::Testing
