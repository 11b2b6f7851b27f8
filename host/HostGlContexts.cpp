#include "host/HostGlContexts.h"

namespace Orvane::Lumisk::HeadlessHost {

HostGlContexts::HostGlContexts(Host& host) {
  host.AddCommandObserver([this, active = alive](PF_Cmd, CommandPhase phase, PF_Err) {
    if (!*active) return;
    if (phase == CommandPhase::kBefore)
      Before();
    else
      After();
  });
}

HostGlContexts::~HostGlContexts() {
  // The Host may outlive this object and keeps the observer: it turns inert
  // without reading this object again.
  *alive = false;
  wglMakeCurrent(nullptr, nullptr);
}

HostGlContext& HostGlContexts::ForThisThread() {
  std::lock_guard<std::mutex> lock(mutex);
  std::unique_ptr<HostGlContext>& context = contexts[std::this_thread::get_id()];
  if (!context) context = std::make_unique<HostGlContext>();
  return *context;
}

void HostGlContexts::Before() {
  ForThisThread().MakeCurrent();
}

void HostGlContexts::After() {
  const bool current = ForThisThread().IsCurrent();
  std::lock_guard<std::mutex> lock(mutex);
  ++commands;
  if (!current) ++notRestored;
}

int HostGlContexts::NotRestoredCount() const {
  std::lock_guard<std::mutex> lock(mutex);
  return notRestored;
}

int HostGlContexts::CommandCount() const {
  std::lock_guard<std::mutex> lock(mutex);
  return commands;
}

}  // namespace Orvane::Lumisk::HeadlessHost
