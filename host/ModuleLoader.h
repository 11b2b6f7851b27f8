// Loads the built effect module and finds its entry point: the one seam
// between the host and the platform's dynamic loader.
#pragma once

#include <string>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::HeadlessHost {

class ModuleLoader {
public:
  // Loads the module at path and resolves "EntryPointFunc". Throws
  // std::runtime_error, with the loader's message, when either fails.
  explicit ModuleLoader(const std::string& path);
  ~ModuleLoader();

  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  PF_EntryPointFunc EntryPoint() const { return entry; }
  const std::string& Path() const { return modulePath; }

  // Any other symbol the module exports, or null (used to check that it
  // exports nothing else).
  void* FindSymbol(const char* name) const;

private:
  std::string modulePath;
  void* library = nullptr;
  PF_EntryPointFunc entry = nullptr;
};

}  // namespace Orvane::Lumisk::HeadlessHost
