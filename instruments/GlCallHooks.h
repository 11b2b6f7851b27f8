// The process's one pair of glbinding callbacks. glbinding keeps a single
// before and a single after callback, so whoever watches GL calls (a call
// recorder, the tests' GL error check) takes a slot here instead of setting
// its own. The callbacks are switched on in the context current when a slot
// is first filled and in every context made current through glbinding after
// that (on Linux the module shares this glbinding, so its calls pass here too).
//
// Hooks run on the thread of the GL call, never for GL calls a hook makes.
#pragma once

#include <functional>

#include <glbinding/FunctionCall.h>

namespace Orvane::Lumisk::TestHost {

class GlCallHooks {
public:
  using Hook = std::function<void(const glbinding::FunctionCall& call)>;

  // The call recorder's hooks (null: none), run before and after each call;
  // `withParameters` fills the calls' parameter values (in the current context
  // and those made current later).
  static void SetRecorder(Hook before, Hook after, bool withParameters = false);
  // Run after each call, after the recorder's hook (null: none).
  static void SetErrorCheck(Hook after);
};

}  // namespace Orvane::Lumisk::TestHost
