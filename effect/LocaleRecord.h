// One entry of the localised string table: an English text and its Simplified
// Chinese translation (code page 936 bytes), each in a fixed 256-byte field.
#pragma once

#include <cstddef>

namespace Orvane::Lumisk {

constexpr std::size_t kLocaleTextFieldSize = 256;
// A field holds at most this many text bytes; the zero after them terminates it.
constexpr std::size_t kLocaleTextMaxLength = kLocaleTextFieldSize - 1;

struct LocaleRecord {
  char english[kLocaleTextFieldSize];
  char translated[kLocaleTextFieldSize];

  // Both texts empty: every byte zero.
  LocaleRecord();
};

// Zero-fills field, then copies text into it, cut to kLocaleTextMaxLength
// bytes. The cut never splits a two-byte code page 936 character, so a long
// Chinese text loses whole characters only. A null text leaves the field empty.
void CopyLocaleText(const char* text, char (&field)[kLocaleTextFieldSize]);

}  // namespace Orvane::Lumisk
