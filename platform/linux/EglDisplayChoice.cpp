#include "platform/linux/EglDisplayChoice.h"

#include <cstring>

namespace Orvane::Lumisk::Win32Layer {

const char* const kEglPlatformValues = "surfaceless or device";

EglPlatformRequest ParseEglPlatformRequest(const char* value) {
  if (value == nullptr || *value == '\0') return {};
  if (std::strcmp(value, "surfaceless") == 0) return {true, EglPlatform::Surfaceless};
  if (std::strcmp(value, "device") == 0) return {true, EglPlatform::Device};
  return {false, std::nullopt};
}

namespace {

std::optional<std::size_t> First(const std::vector<EglCandidate>& candidates, EglPlatform platform, bool hardware) {
  for (std::size_t i = 0; i < candidates.size(); ++i)
    if (candidates[i].platform == platform && (!hardware || !IsSoftwareRenderer(candidates[i].renderer))) return i;
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> ChooseEglCandidate(const std::vector<EglCandidate>& candidates,
                                              std::optional<EglPlatform> forced) {
  std::vector<EglPlatform> order = {EglPlatform::Surfaceless, EglPlatform::Device};
  if (forced) order = {*forced};
  for (const bool hardware : {true, false})
    for (const EglPlatform platform : order)
      if (const std::optional<std::size_t> found = First(candidates, platform, hardware)) return found;
  return std::nullopt;
}

}  // namespace Orvane::Lumisk::Win32Layer
