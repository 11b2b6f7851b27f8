// The test host: the headless host (host/Host.h) with the tests' instruments
// on it: every call the module makes recorded (Records()), and faults that
// stand in for a host whose calls fail (Faults()).
//
// Typical use:
//   TestHost::Host host;                        // loads the built ZQLumisk.aex
//   host.SetLanguageTag("zh_CN");
//   ASSERT_EQ(host.GlobalSetup(), PF_Err_NONE);
//   ASSERT_EQ(host.ParamsSetup(), PF_Err_NONE);
//   host.Params().SetPopup(5, 4);               // "Type" = Circle at all times
//   host.UpdateParamsUI();
//   EXPECT_TRUE(host.Params().Hidden(6));
//   EXPECT_EQ(host.Records().OutstandingSuites(), 0);
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/HostInstrument.h"
#include "instruments/HostFaults.h"
#include "instruments/HostRecords.h"

namespace Orvane::Lumisk::TestHost {

// The host's own types, under the names the tests know them by.
using HeadlessHost::BytesPerPixel;
using HeadlessHost::CommandObserver;
using HeadlessHost::CommandPhase;
using HeadlessHost::DefaultModulePath;
using HeadlessHost::HostParam;
using HeadlessHost::kExceptionEscaped;
using HeadlessHost::kOtherStreamFlags;
using HeadlessHost::ParameterStore;
using HeadlessHost::PixelDepth;
using HeadlessHost::World;

// Records every call into HostRecords and answers as HostFaults says.
class HostInstrumentation : public HeadlessHost::HostInstrument {
public:
  HostRecords records;
  HostFaults faults;

  void Called(const std::string& call) override { records.calls.push_back(call); }
  void Counted(HeadlessHost::HostEvent event) override;
  void Answered(const CommandRecord& command) override { records.commands.push_back(command); }
  void Saw(const SuiteCall& call) override { records.suiteCalls.push_back(call); }
  void Saw(const CheckoutCall& call) override { records.checkouts.push_back(call); }
  void Saw(const StreamFlagChange& change) override { records.streamFlagChanges.push_back(change); }
  void Saw(const ParamUiUpdate& update) override { records.uiUpdates.push_back(update); }
  void Formatted(const char* text) override { records.sprintfOutputs.emplace_back(text); }
  void HandleAsked(A_HandleSize size) override { records.handleSizes.push_back(size); }

  int32_t Refusal(HeadlessHost::Refusable what, PF_ParamIndex index, const std::string& suite) override;
  // The offered record, null for Faults().nullSuites, or a copy of it with
  // Faults().nullFunctions nulled.
  const void* SuiteToHandOut(const HeadlessHost::OfferedSuite& offered) override;
  void CheckedOut(PF_ParamIndex index, PF_ParamDef& param) override;

private:
  // Copies of suites handed out with a function nulled; kept for the host's
  // lifetime, since the module may hold one until release.
  std::vector<std::unique_ptr<std::vector<void (*)()>>> alteredSuites;
};

class Host : public HeadlessHost::Host {
public:
  // Loads the module at modulePath (std::runtime_error when it cannot).
  explicit Host(const std::string& modulePath = DefaultModulePath());
  // Drives an entry point linked into the calling program.
  explicit Host(PF_EntryPointFunc entryPoint);
  ~Host();

  HostRecords& Records() { return instrumentation.records; }
  HostFaults& Faults() { return instrumentation.faults; }
  // Handles made by host_new_handle and not yet disposed.
  int LiveHandles() const { return Made(&HostRecords::handlesMade, &HostRecords::handlesDisposed); }
  // Effect and stream references made and not yet disposed.
  int LiveEffects() const { return Made(&HostRecords::effectsMade, &HostRecords::effectsDisposed); }
  int LiveStreams() const { return Made(&HostRecords::streamsMade, &HostRecords::streamsDisposed); }

private:
  // Attaches the instrumentation and restarts the add_param count at every
  // parameter set-up.
  void Instrument();
  int Made(int HostRecords::*made, int HostRecords::*disposed) const {
    return instrumentation.records.*made - instrumentation.records.*disposed;
  }

  HostInstrumentation instrumentation;
};

}  // namespace Orvane::Lumisk::TestHost
