// Module-wide objects of the effect shell. Plain pointers without a lock: the
// host sends global set-up and set-down, which alone write them, one at a time.
#pragma once

#include "effect/LocaleStringTable.h"

namespace Orvane::Lumisk {

// From global set-up to global set-down; null before, after and when set-up
// failed to make it.
extern LocaleStringTable* gStringTable;

// The text to show for key: gStringTable's, or, while there is no table, the
// English text from a built-in English table that lives to the end of the
// process (so texts handed to the host never dangle).
const char* LocalizedText(const char* key);

}  // namespace Orvane::Lumisk
