// The effect's localised texts: parameter names, checkbox labels and popup item
// lists, each under an English key, in English and in Simplified Chinese (code
// page 936 bytes; nothing is converted). Built once at global set-up in the
// host's language and only read afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "effect/LocaleRecord.h"
#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

class LocaleStringTable {
public:
  // Asks the host for its language (GetHostLanguageIndex: throws the int 13
  // when the app suite is missing), then fills the table.
  explicit LocaleStringTable(PF_InData* in_data);
  // A table for a known language index (0 is Simplified Chinese), filled.
  explicit LocaleStringTable(int32_t languageIndex);
  ~LocaleStringTable();

  LocaleStringTable(const LocaleStringTable&) = delete;
  LocaleStringTable& operator=(const LocaleStringTable&) = delete;

  // The text to show for key: the Chinese text on a Chinese host when there
  // is one, else the English text. An unknown key (exact, case-sensitive byte
  // match) gives key itself back. Returned record texts live as long as the
  // table; a null key gives an empty text.
  const char* Lookup(const char* key) const;

  // Adds the key or updates its record in place (a key never has two
  // entries). Null or empty texts keep what the record held, see the .cpp.
  void Add(const char* key, const char* englishText, const char* chineseText);

  // The 18 entries of the effect.
  void Fill();

  int32_t Language() const { return language; }
  std::size_t Size() const { return entries.size(); }

private:
  int32_t language;
  // Keys compare byte by byte (std::string's ordering), shorter first on a
  // common beginning.
  std::map<std::string, std::unique_ptr<LocaleRecord>> entries;
};

}  // namespace Orvane::Lumisk
