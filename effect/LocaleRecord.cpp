#include "effect/LocaleRecord.h"

#include <cstring>

#include "effect/Cp936Prefix.h"

namespace Orvane::Lumisk {

LocaleRecord::LocaleRecord() : english{}, translated{} {}

void CopyLocaleText(const char* text, char (&field)[kLocaleTextFieldSize]) {
  std::memset(field, 0, sizeof field);
  if (text == nullptr) {
    return;
  }
  std::memcpy(field, text, WholeCharacterPrefix(text, kLocaleTextMaxLength));
}

}  // namespace Orvane::Lumisk
