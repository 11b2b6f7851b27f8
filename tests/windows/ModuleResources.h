// Reads every resource of a built PE module through the Windows resource API,
// the way a host finds a plug-in's PiPL.
#pragma once

#include <string>
#include <vector>

#include "tests/shell/ResourceFile.h"

namespace Orvane::Lumisk::Testing {

// Every (type, name, language) entry with its bytes, in the order the module's
// resource directory lists them. Throws std::runtime_error when the module
// cannot be loaded as a data file.
std::vector<ResourceEntry> ReadModuleResources(const std::string& path);

}  // namespace Orvane::Lumisk::Testing
