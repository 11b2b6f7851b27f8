// What the test host saw the module do, in the order it happened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::TestHost {

// What Host::Send returns (and records) when an exception left EntryPointFunc.
constexpr PF_Err kExceptionEscaped = INT32_MIN;

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

struct HostRecords {
  std::vector<CommandRecord> commands;
  // Every host call as one line of text, in order, e.g. "AcquireSuite PF ANSI Suite 1",
  // "add_param -1", "checkout_param 5", "AEGP_GetNewEffectStreamByIndex 6",
  // "AEGP_DisposeStream 6", "PF_UpdateParamUI 6", "host_new_handle 64".
  std::vector<std::string> calls;
  std::vector<SuiteCall> suiteCalls;
  std::vector<CheckoutCall> checkouts;
  int checkins = 0;
  int unmatchedCheckins = 0;  // check-ins of a definition that was not checked out
  std::vector<StreamFlagChange> streamFlagChanges;
  std::vector<ParamUiUpdate> uiUpdates;
  int addParamCalls = 0;
  int strcpyCalls = 0;
  std::vector<std::string> sprintfOutputs;
  int languageQueries = 0;
  int effectsMade = 0;
  int effectsDisposed = 0;
  int streamsMade = 0;
  int streamsDisposed = 0;
  int handlesMade = 0;
  int handlesDisposed = 0;
  std::vector<A_HandleSize> handleSizes;
  int iterateCalls = 0;
  int badHandleCalls = 0;  // a handle, effect or stream used after disposal or never made

  // Suites acquired and not yet released (all names).
  int OutstandingSuites() const;
  // The same for one suite name.
  int OutstandingSuite(const std::string& name) const;
  // Names in acquisition and in release order (successful calls only).
  std::vector<std::string> AcquiredNames() const;
  std::vector<std::string> ReleasedNames() const;
  // Successful check-outs not yet checked in.
  int OutstandingCheckouts() const;
  // Calls whose text starts with prefix.
  int CountCalls(const std::string& prefix) const;

  void Clear() { *this = HostRecords{}; }
};

}  // namespace Orvane::Lumisk::TestHost
