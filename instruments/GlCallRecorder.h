// Watches the GL calls of the whole process through glbinding's callbacks: the
// module and the test host share one glbinding library, so the module's calls
// pass here too. glbinding keeps its callback switches per context; they are
// switched on in the context current now and in every context made current
// through glbinding from now on (each of the module's MakeCurrent calls).
//
// One recorder at a time. Hooks run on the calling thread of the GL call, never
// for GL calls that a hook itself makes.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WglApi.h"

namespace Orvane::Lumisk::TestHost {

struct GlCall {
  std::string name;  // e.g. "glDeleteTextures"
  HGLRC context;     // the WGL context current when it was made
  // The arguments as glbinding prints them, for a recorder made with
  // kWithParameters; empty otherwise.
  std::vector<std::string> parameters;
};

class GlCallRecorder {
public:
  using Hook = std::function<void(const char* name)>;
  // Asks glbinding for every call's argument values too (a value object per
  // argument of every call, so only where a test reads them).
  enum Parameters { kNamesOnly, kWithParameters };

  explicit GlCallRecorder(Parameters parameters = kNamesOnly);
  ~GlCallRecorder();
  GlCallRecorder(const GlCallRecorder&) = delete;
  GlCallRecorder& operator=(const GlCallRecorder&) = delete;

  // Every call since the recorder was made or last cleared, in order.
  std::vector<GlCall> Calls() const;
  void Clear();
  // Calls whose name is exactly `name`.
  int Count(const std::string& name) const;
  // The names of the calls, in order.
  std::vector<std::string> Names() const;

  // Run just before and just after every call (e.g. to insert timer queries).
  void SetHooks(Hook before, Hook after);

private:
  friend struct GlCallDispatch;
  void Before(const char* name, std::vector<std::string> parameters);
  void After(const char* name);

  mutable std::mutex mutex;
  std::vector<GlCall> calls;
  Hook beforeHook;
  Hook afterHook;
};

}  // namespace Orvane::Lumisk::TestHost
