#include "host/ModuleLoader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <stdexcept>

namespace Orvane::Lumisk::HeadlessHost {

namespace {

#ifdef _WIN32
std::string LoaderMessage() {
  return "Windows error " + std::to_string(GetLastError());
}

// Pinned, as RTLD_NODELETE does on Linux: a host keeps an effect mapped for
// the life of the process, so a later load finds the same module state.
void* OpenModule(const std::string& path) {
  const HMODULE module = LoadLibraryA(path.c_str());
  HMODULE pinned = nullptr;
  if (module != nullptr) {
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, path.c_str(), &pinned);
  }
  return module;
}

void* Symbol(void* handle, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void CloseModule(void* handle) {
  FreeLibrary(static_cast<HMODULE>(handle));
}
#else
std::string LoaderMessage() {
  const char* message = dlerror();
  return message != nullptr ? message : "unknown loader error";
}

// RTLD_LOCAL: the module's symbols must not satisfy anyone else's.
// RTLD_NODELETE: a host keeps an effect mapped for the life of the process,
// and the leak checker must still see the module's globals at exit.
void* OpenModule(const std::string& path) {
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
}

void* Symbol(void* handle, const char* name) {
  return dlsym(handle, name);
}

void CloseModule(void* handle) {
  dlclose(handle);
}
#endif

}  // namespace

ModuleLoader::ModuleLoader(const std::string& path) : modulePath(path) {
  library = OpenModule(path);
  if (library == nullptr) {
    throw std::runtime_error("cannot load module " + path + ": " + LoaderMessage());
  }
  entry = reinterpret_cast<PF_EntryPointFunc>(Symbol(library, "EntryPointFunc"));
  if (entry == nullptr) {
    const std::string message = LoaderMessage();
    CloseModule(library);
    throw std::runtime_error("module " + path + " has no EntryPointFunc: " + message);
  }
}

ModuleLoader::~ModuleLoader() {
  CloseModule(library);
}

void* ModuleLoader::FindSymbol(const char* name) const {
  return Symbol(library, name);
}

}  // namespace Orvane::Lumisk::HeadlessHost
