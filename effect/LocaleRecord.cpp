#include "effect/LocaleRecord.h"

#include <cstring>

namespace Orvane::Lumisk {

namespace {

// In code page 936 a byte from 0x81 up opens a two-byte character; ASCII bytes
// stand alone. Returns how many leading bytes of text fit in limit bytes
// without cutting a character in two.
std::size_t WholeCharacterPrefix(const char* text, std::size_t limit) {
  std::size_t length = 0;
  while (text[length] != '\0') {
    const auto lead = static_cast<unsigned char>(text[length]);
    const std::size_t width = (lead >= 0x81 && text[length + 1] != '\0') ? 2 : 1;
    if (length + width > limit) {
      break;
    }
    length += width;
  }
  return length;
}

}  // namespace

LocaleRecord::LocaleRecord() : english{}, translated{} {}

void CopyLocaleText(const char* text, char (&field)[kLocaleTextFieldSize]) {
  std::memset(field, 0, sizeof field);
  if (text == nullptr) {
    return;
  }
  std::memcpy(field, text, WholeCharacterPrefix(text, kLocaleTextMaxLength));
}

}  // namespace Orvane::Lumisk
