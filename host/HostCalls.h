// Calls the module makes of the host, as the host tells its instrument of them
// (host/HostInstrument.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::HeadlessHost {

struct CommandRecord {
  PF_Cmd cmd;
  PF_Err result;
};

struct SuiteCall {
  enum class Kind { kAcquire, kRelease };
  Kind kind;
  std::string name;
  int32_t version;
  SPErr result;  // non-zero: the host refused (missing suite, release without acquire)
};

struct CheckoutCall {
  PF_ParamIndex index;
  A_long what_time;
  A_long time_step;
  A_u_long time_scale;
  PF_Err result;
};

struct StreamFlagChange {
  PF_ParamIndex index;
  AEGP_DynStreamFlags flag;
  bool undoable;
  bool set;
  // The flags of the host's live definition of that index at the moment of
  // the call: what the host redraws the control from when it takes the change.
  PF_ParamFlags definitionFlags = 0;
};

struct ParamUiUpdate {
  PF_ParamIndex index;
  PF_ParamDef definition;  // copy of what the module passed
};

// One suite the host offers, with the names of its functions in the order the
// record lists them.
struct OfferedSuite {
  const char* name;
  int32_t version;
  const void* suite;
  std::size_t functionCount;
  std::vector<std::string> functions;
};

}  // namespace Orvane::Lumisk::HeadlessHost
