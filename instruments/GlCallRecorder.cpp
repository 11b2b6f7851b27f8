#include "instruments/GlCallRecorder.h"

#include <atomic>

#include <glbinding/AbstractFunction.h>
#include <glbinding/AbstractValue.h>
#include <glbinding/FunctionCall.h>

#include "instruments/GlCallHooks.h"

namespace Orvane::Lumisk::TestHost {

namespace {
std::atomic<GlCallRecorder*> gActiveRecorder{nullptr};
}  // namespace

struct GlCallDispatch {
  static void Before(const glbinding::FunctionCall& call) {
    GlCallRecorder* recorder = gActiveRecorder.load();
    if (recorder == nullptr) return;
    std::vector<std::string> parameters;
    for (const glbinding::AbstractValue* value : call.parameters) parameters.push_back(value->asString());
    recorder->Before(call.function->name(), std::move(parameters));
  }
  static void After(const glbinding::FunctionCall& call) {
    if (GlCallRecorder* recorder = gActiveRecorder.load()) recorder->After(call.function->name());
  }
};

GlCallRecorder::GlCallRecorder(Parameters parameters) {
  gActiveRecorder.store(this);
  GlCallHooks::SetRecorder(&GlCallDispatch::Before, &GlCallDispatch::After, parameters == kWithParameters);
}

GlCallRecorder::~GlCallRecorder() {
  GlCallHooks::SetRecorder(nullptr, nullptr);
  gActiveRecorder.store(nullptr);
}

std::vector<GlCall> GlCallRecorder::Calls() const {
  std::lock_guard<std::mutex> lock(mutex);
  return calls;
}

void GlCallRecorder::Clear() {
  std::lock_guard<std::mutex> lock(mutex);
  calls.clear();
}

int GlCallRecorder::Count(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex);
  int n = 0;
  for (const GlCall& call : calls) n += call.name == name ? 1 : 0;
  return n;
}

std::vector<std::string> GlCallRecorder::Names() const {
  std::lock_guard<std::mutex> lock(mutex);
  std::vector<std::string> names;
  for (const GlCall& call : calls) names.push_back(call.name);
  return names;
}

void GlCallRecorder::SetHooks(Hook before, Hook after) {
  std::lock_guard<std::mutex> lock(mutex);
  beforeHook = std::move(before);
  afterHook = std::move(after);
}

void GlCallRecorder::Before(const char* name, std::vector<std::string> parameters) {
  Hook hook;
  {
    std::lock_guard<std::mutex> lock(mutex);
    calls.push_back({name, wglGetCurrentContext(), std::move(parameters)});
    hook = beforeHook;
  }
  if (hook) hook(name);
}

void GlCallRecorder::After(const char* name) {
  Hook hook;
  {
    std::lock_guard<std::mutex> lock(mutex);
    hook = afterHook;
  }
  if (hook) hook(name);
}

}  // namespace Orvane::Lumisk::TestHost
