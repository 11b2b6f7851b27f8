#include "gl/ContextRegistry.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>

namespace Orvane::Lumisk {

namespace {

using ContextMap = std::map<std::int32_t, AEOpenGLContext*>;

AEOpenGLContext* gRootContext = nullptr;
ContextMap* gContextRegistry = nullptr;
std::recursive_mutex* gContextRegistryMutex = nullptr;
thread_local std::int32_t gContextSlot = -1;
std::atomic<std::int32_t> gNextContextSlot{0};

// Unload: the map's entries are freed without deleting a context (set-down did).
void FreeContextRegistry() {
  delete gContextRegistry;
  gContextRegistry = nullptr;
}

void FreeContextRegistryMutex() {
  delete gContextRegistryMutex;
  gContextRegistryMutex = nullptr;
}

bool InitContextRegistry() {
  gContextRegistry = new ContextMap();
  std::atexit(FreeContextRegistry);
  return true;
}

bool InitContextRegistryMutex() {
  gContextRegistryMutex = new std::recursive_mutex();
  std::atexit(FreeContextRegistryMutex);
  return true;
}

// In this order: the exit functions then run mutex first, map second.
const bool gContextRegistryReady = InitContextRegistry();
const bool gContextRegistryMutexReady = InitContextRegistryMutex();

}  // namespace

void CreateRootContext() {
  // On a throw the constructor has released what it made and new frees the
  // storage; the root stays as it was.
  gRootContext = new AEOpenGLContext(nullptr);
}

AEOpenGLContext* RootContext() {
  return gRootContext;
}

AEOpenGLContext* CurrentThreadContext() {
  std::lock_guard<std::recursive_mutex> lock(*gContextRegistryMutex);
  if (gContextSlot == -1) {
    gContextSlot = gNextContextSlot.fetch_add(1);
  }
  AEOpenGLContext*& entry = (*gContextRegistry)[gContextSlot];
  // Missing or null: the first render, a failed creation or a render after
  // set-down. Never hand out null; a throw leaves the entry null to try again.
  if (entry == nullptr) {
    entry = new AEOpenGLContext(gRootContext);
  }
  return entry;
}

void DestroyAllContexts() {
  for (auto& [slot, context] : *gContextRegistry) {
    delete context;
    context = nullptr;
  }
  gContextRegistry->clear();
  delete gRootContext;
  gRootContext = nullptr;
}

std::int32_t CurrentThreadContextSlot() {
  return gContextSlot;
}

std::size_t RegisteredContextCount() {
  std::lock_guard<std::recursive_mutex> lock(*gContextRegistryMutex);
  std::size_t count = 0;
  for (const auto& entry : *gContextRegistry) {
    count += entry.second != nullptr ? 1 : 0;
  }
  return count;
}

}  // namespace Orvane::Lumisk
