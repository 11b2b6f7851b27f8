#include "gl/LogPrintf.h"

#include <cstdarg>
#include <cstdio>

namespace Orvane::Lumisk {

void LogPrintf(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vprintf(format, arguments);
  va_end(arguments);
}

}  // namespace Orvane::Lumisk
