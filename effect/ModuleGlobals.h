// Module-wide objects of the effect shell. Plain pointers without a lock: the
// host sends global set-up and set-down, which alone write them, one at a time.
#pragma once

#include "effect/LocaleStringTable.h"

namespace Orvane::Lumisk {

// From global set-up to global set-down; null before, after and when set-up
// failed to make it.
extern LocaleStringTable* gStringTable;

// Makes `table` the string table. A table it replaces (a second set-up without
// set-down) stays alive: the host still holds the names and popup items that
// the earlier parameter set-up handed it out of that table.
void ReplaceStringTable(LocaleStringTable* table);

// Frees the string table and every table it replaced; gStringTable is null after.
void FreeStringTables();

// The text to show for key: gStringTable's, or, while there is no table, the
// English text from a built-in English table that lives to the end of the
// process (so texts handed to the host never dangle).
const char* LocalizedText(const char* key);

}  // namespace Orvane::Lumisk
