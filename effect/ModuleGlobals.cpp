#include "effect/ModuleGlobals.h"

#include "effect/HostLanguage.h"

namespace Orvane::Lumisk {

LocaleStringTable* gStringTable = nullptr;

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
