// The host's interface language, as the index the string table works with.
#pragma once

#include <cstdint>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// Only this index changes what the string table returns.
constexpr int32_t kLanguageSimplifiedChinese = 0;
// Given to every tag the table does not list, and to an empty tag.
constexpr int32_t kLanguageEnglish = 1;

// Index of a host language tag: all six bytes (five characters and the zero)
// must match a known tag, so an unterminated tag matches nothing.
int32_t LanguageIndexOfTag(const A_char (&tag)[PF_APP_LANG_TAG_SIZE]);

// Asks the host through "PF AE App Suite" 7. Throws the int 13 when the suite
// is missing; a language call that fails or writes nothing gives English.
int32_t GetHostLanguageIndex(PF_InData* in_data);

}  // namespace Orvane::Lumisk
