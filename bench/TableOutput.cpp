#include "bench/TableOutput.h"

#include <unistd.h>

namespace Orvane::Lumisk::Bench {

std::FILE* TableOutput() {
  std::fflush(stdout);
  const int kept = dup(STDOUT_FILENO);
  std::FILE* table = kept >= 0 ? fdopen(kept, "w") : nullptr;
  if (table == nullptr || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
    if (table != nullptr) std::fclose(table);
    return stderr;
  }
  return table;
}

}  // namespace Orvane::Lumisk::Bench
