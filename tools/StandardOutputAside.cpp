#include "tools/StandardOutputAside.h"

#include <unistd.h>

namespace Orvane::Lumisk::RenderTool {

std::FILE* SetStandardOutputAside() {
  std::fflush(stdout);
  const int kept = dup(STDOUT_FILENO);
  dup2(STDERR_FILENO, STDOUT_FILENO);
  if (kept < 0) return nullptr;
  std::FILE* stream = fdopen(kept, "w");
  if (stream == nullptr) close(kept);
  return stream;
}

}  // namespace Orvane::Lumisk::RenderTool
