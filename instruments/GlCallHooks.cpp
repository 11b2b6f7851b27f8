#include "instruments/GlCallHooks.h"

#include <atomic>
#include <mutex>

#include <glbinding/Binding.h>
#include <glbinding/CallbackMask.h>
#include <glbinding/callbacks.h>

#include "platform/WglApi.h"

namespace Orvane::Lumisk::TestHost {

namespace {

struct Slots {
  std::mutex mutex;
  GlCallHooks::Hook recorderBefore;
  GlCallHooks::Hook recorderAfter;
  GlCallHooks::Hook errorCheck;
};

Slots& TheSlots() {
  static Slots slots;
  return slots;
}

// True while a hook runs on this thread: its own GL calls are not watched.
thread_local bool tInsideHook = false;

// Parameter values only while a recorder asks for them: glbinding then builds
// a value object per argument of every call (and LeakSanitizer's exit check
// of a process whose module was unloaded has been seen to crash with them on).
std::atomic<bool> gWithParameters{false};

void SwitchCallbacksOnHere() {
  glbinding::CallbackMask mask = glbinding::CallbackMask::Before | glbinding::CallbackMask::After;
  if (gWithParameters.load()) mask = mask | glbinding::CallbackMask::Parameters;
  glbinding::setCallbackMask(mask);
}

void Run(const GlCallHooks::Hook& hook, const glbinding::FunctionCall& call) {
  if (!hook) return;
  // A hook may throw (a test standing in for an allocation that fails inside
  // a GL call); the thread's later calls are watched again all the same.
  struct InsideHook {
    InsideHook() { tInsideHook = true; }
    ~InsideHook() { tInsideHook = false; }
    InsideHook(const InsideHook&) = delete;
    InsideHook& operator=(const InsideHook&) = delete;
  } inside;
  hook(call);
}

void Before(const glbinding::FunctionCall& call) {
  if (tInsideHook) return;
  GlCallHooks::Hook before;
  {
    std::lock_guard<std::mutex> lock(TheSlots().mutex);
    before = TheSlots().recorderBefore;
  }
  Run(before, call);
}

void After(const glbinding::FunctionCall& call) {
  if (tInsideHook) return;
  GlCallHooks::Hook after;
  GlCallHooks::Hook check;
  {
    std::lock_guard<std::mutex> lock(TheSlots().mutex);
    after = TheSlots().recorderAfter;
    check = TheSlots().errorCheck;
  }
  Run(after, call);
  Run(check, call);
}

// glbinding offers no way to remove callbacks, so they are installed once and
// answer only while a slot is filled.
void InstallOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    glbinding::setBeforeCallback(&Before);
    glbinding::setAfterCallback(&After);
    glbinding::Binding::addContextSwitchCallback([](glbinding::ContextHandle context) {
      if (context != 0) SwitchCallbacksOnHere();
    });
  });
  if (wglGetCurrentContext() != nullptr) SwitchCallbacksOnHere();
}

}  // namespace

void GlCallHooks::SetRecorder(Hook before, Hook after, bool withParameters) {
  gWithParameters.store(withParameters);
  InstallOnce();
  std::lock_guard<std::mutex> lock(TheSlots().mutex);
  TheSlots().recorderBefore = std::move(before);
  TheSlots().recorderAfter = std::move(after);
}

void GlCallHooks::SetErrorCheck(Hook after) {
  InstallOnce();
  std::lock_guard<std::mutex> lock(TheSlots().mutex);
  TheSlots().errorCheck = std::move(after);
}

}  // namespace Orvane::Lumisk::TestHost
