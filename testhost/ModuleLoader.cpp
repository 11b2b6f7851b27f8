#include "testhost/ModuleLoader.h"

#include <dlfcn.h>

#include <stdexcept>

namespace Orvane::Lumisk::TestHost {

namespace {

std::string LoaderMessage() {
  const char* message = dlerror();
  return message != nullptr ? message : "unknown loader error";
}

}  // namespace

ModuleLoader::ModuleLoader(const std::string& path) : path_(path) {
  // RTLD_LOCAL: the module's symbols must not satisfy anyone else's.
  // RTLD_NODELETE: a host keeps an effect mapped for the life of the process,
  // and the leak checker must still see the module's globals at exit.
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle_ == nullptr) {
    throw std::runtime_error("cannot load module " + path + ": " + LoaderMessage());
  }
  entry_ = reinterpret_cast<PF_EntryPointFunc>(dlsym(handle_, "EntryPointFunc"));
  if (entry_ == nullptr) {
    const std::string message = LoaderMessage();
    dlclose(handle_);
    throw std::runtime_error("module " + path + " has no EntryPointFunc: " + message);
  }
}

ModuleLoader::~ModuleLoader() { dlclose(handle_); }

void* ModuleLoader::FindSymbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace Orvane::Lumisk::TestHost
