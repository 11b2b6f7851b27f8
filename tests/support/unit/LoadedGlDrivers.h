// The GL drivers mapped into this process: what making a GL context loads
// (Mesa's DRI drivers and glvnd's vendor libraries), and what merely linking
// the GL dispatch libraries does not.
#pragma once

#include <string>
#include <vector>

namespace Orvane::Lumisk::Tests {

// The paths of the GL driver files in /proc/self/maps, each once.
std::vector<std::string> LoadedGlDrivers();

}  // namespace Orvane::Lumisk::Tests
