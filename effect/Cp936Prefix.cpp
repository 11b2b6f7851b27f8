#include "effect/Cp936Prefix.h"

namespace Orvane::Lumisk {

std::size_t WholeCharacterPrefix(const char* text, std::size_t limit) {
  std::size_t length = 0;
  while (text[length] != '\0') {
    const auto lead = static_cast<unsigned char>(text[length]);
    // A lead byte at the very end has no partner: it stands alone.
    const std::size_t width = (lead >= 0x81 && text[length + 1] != '\0') ? 2 : 1;
    if (length + width > limit) break;
    length += width;
  }
  return length;
}

}  // namespace Orvane::Lumisk
