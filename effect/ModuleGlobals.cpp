#include "effect/ModuleGlobals.h"

#include <memory>
#include <vector>

#include "effect/HostLanguage.h"

namespace Orvane::Lumisk {

LocaleStringTable* gStringTable = nullptr;

namespace {

// Tables replaced since the last set-down, freed with the current one.
std::vector<std::unique_ptr<LocaleStringTable>>& ReplacedTables() {
  static std::vector<std::unique_ptr<LocaleStringTable>> tables;
  return tables;
}

}  // namespace

void ReplaceStringTable(LocaleStringTable* table) {
  std::unique_ptr<LocaleStringTable> owned(table);
  if (gStringTable != nullptr) {
    ReplacedTables().emplace_back(gStringTable);
  }
  gStringTable = owned.release();
}

void FreeStringTables() {
  delete gStringTable;
  // Reset, so that a second set-down or a later command never sees freed memory.
  gStringTable = nullptr;
  ReplacedTables().clear();
}

const char* LocalizedText(const char* key) {
  if (gStringTable != nullptr) {
    return gStringTable->Lookup(key);
  }
  // Made on first need only: a module that never misses its table never
  // builds it.
  static const LocaleStringTable englishTable(kLanguageEnglish);
  return englishTable.Lookup(key);
}

}  // namespace Orvane::Lumisk
