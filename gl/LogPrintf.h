#pragma once

namespace Orvane::Lumisk {

// printf-style diagnostics to standard output: no prefix, no level, no added
// line end and no flush.
#if defined(__GNUC__) || defined(__clang__)
__attribute__((format(printf, 1, 2)))
#endif
void LogPrintf(const char* format, ...);

}  // namespace Orvane::Lumisk
