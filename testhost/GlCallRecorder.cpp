#include "testhost/GlCallRecorder.h"

#include <glbinding/AbstractFunction.h>
#include <glbinding/Binding.h>
#include <glbinding/CallbackMask.h>
#include <glbinding/FunctionCall.h>
#include <glbinding/callbacks.h>

#include <atomic>

namespace Orvane::Lumisk::TestHost {

namespace {
std::atomic<GlCallRecorder*> gActiveRecorder{nullptr};
// True while a hook runs on this thread: its own GL calls are not watched.
thread_local bool tInsideHook = false;

void SwitchCallbacksOnHere() {
  glbinding::setCallbackMask(glbinding::CallbackMask::Before | glbinding::CallbackMask::After);
}
}  // namespace

struct GlCallDispatch {
  static void Before(const glbinding::FunctionCall& call) {
    GlCallRecorder* recorder = gActiveRecorder.load();
    if (!recorder || tInsideHook) return;
    recorder->Before(call.function->name());
  }
  static void After(const glbinding::FunctionCall& call) {
    GlCallRecorder* recorder = gActiveRecorder.load();
    if (!recorder || tInsideHook) return;
    recorder->After(call.function->name());
  }
  // glbinding offers no way to remove these, so they are installed once and
  // answer only while a recorder is active.
  static void InstallOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
      glbinding::setBeforeCallback(&GlCallDispatch::Before);
      glbinding::setAfterCallback(&GlCallDispatch::After);
      glbinding::Binding::addContextSwitchCallback([](glbinding::ContextHandle) {
        if (gActiveRecorder.load()) SwitchCallbacksOnHere();
      });
    });
  }
};

GlCallRecorder::GlCallRecorder() {
  GlCallDispatch::InstallOnce();
  gActiveRecorder.store(this);
  if (wglGetCurrentContext()) SwitchCallbacksOnHere();
}

GlCallRecorder::~GlCallRecorder() { gActiveRecorder.store(nullptr); }

std::vector<GlCall> GlCallRecorder::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

void GlCallRecorder::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}

int GlCallRecorder::Count(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int n = 0;
  for (const GlCall& call : calls_) n += call.name == name ? 1 : 0;
  return n;
}

void GlCallRecorder::SetHooks(Hook before, Hook after) {
  std::lock_guard<std::mutex> lock(mutex_);
  before_ = std::move(before);
  after_ = std::move(after);
}

void GlCallRecorder::Before(const char* name) {
  Hook hook;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back({name, wglGetCurrentContext()});
    hook = before_;
  }
  if (!hook) return;
  tInsideHook = true;
  hook(name);
  tInsideHook = false;
}

void GlCallRecorder::After(const char* name) {
  Hook hook;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hook = after_;
  }
  if (!hook) return;
  tInsideHook = true;
  hook(name);
  tInsideHook = false;
}

}  // namespace Orvane::Lumisk::TestHost
