// Cutting code page 936 text to a byte limit without splitting a character.
#pragma once

#include <cstddef>

namespace Orvane::Lumisk {

// How many leading bytes of the zero-terminated text fit in limit bytes
// without cutting a character in two: a byte from 0x81 up opens a two-byte
// character, ASCII bytes stand alone.
std::size_t WholeCharacterPrefix(const char* text, std::size_t limit);

}  // namespace Orvane::Lumisk
