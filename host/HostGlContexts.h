// Gives a Host what a real host has while it calls an effect: its own GL
// context current on the calling thread. Attached to a Host, it makes the
// calling thread's host context current before every command (one context per
// thread, made at the thread's first command) and checks after the command
// that the module left that same context current again.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "host/Host.h"
#include "host/HostGlContext.h"

namespace Orvane::Lumisk::HeadlessHost {

class HostGlContexts {
public:
  // Observes every later command of host; must outlive its commands.
  explicit HostGlContexts(Host& host);
  ~HostGlContexts();
  HostGlContexts(const HostGlContexts&) = delete;
  HostGlContexts& operator=(const HostGlContexts&) = delete;

  // Commands after which the host context of their thread was not current.
  int NotRestoredCount() const;
  // Commands observed (after they returned).
  int CommandCount() const;
  // The calling thread's host context (made when it has none).
  HostGlContext& ForThisThread();

private:
  void Before();
  void After();

  mutable std::mutex mutex;
  std::map<std::thread::id, std::unique_ptr<HostGlContext>> contexts;
  int notRestored = 0;
  int commands = 0;
  // Shared with the observer the Host keeps, which may outlive this object.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

}  // namespace Orvane::Lumisk::HeadlessHost
