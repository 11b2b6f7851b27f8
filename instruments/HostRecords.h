// What the test host saw the module do, in the order it happened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/HostCalls.h"
#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::TestHost {

using HeadlessHost::CheckoutCall;
using HeadlessHost::CommandRecord;
using HeadlessHost::ParamUiUpdate;
using HeadlessHost::StreamFlagChange;
using HeadlessHost::SuiteCall;

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
