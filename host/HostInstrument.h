// What may stand between the host and the module (Host::SetInstrument; none by
// default): it hears of every call the module makes of the host and may answer
// one in the host's place, as a host whose call fails would. The host serves
// every call for real; tests put their fault injection and call records here.
// Every function runs under the host's lock.
#pragma once

#include <cstdint>
#include <string>

#include "host/HostCalls.h"
#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::HeadlessHost {

// Things the host counts as they happen.
enum class HostEvent {
  kStrcpy,
  kLanguageQuery,
  kIterate,
  kCheckin,
  kUnmatchedCheckin,  // a check-in of a definition that was not checked out
  kEffectMade,
  kEffectDisposed,
  kStreamMade,
  kStreamDisposed,
  kHandleMade,
  kHandleDisposed,
  kBadHandle,  // a handle, effect or stream used after disposal or never made
};

// The host services an instrument may refuse.
enum class Refusable {
  kSuite,           // the suite is missing
  kLanguage,        // PF_AppGetLanguage writes nothing
  kNewEffect,       // no effect reference
  kNewStream,       // no stream
  kGetStreamFlags,  // nothing written
  kSetStreamFlag,   // nothing changed
  kUpdateParamUi,   // the update is taken, the code returned all the same
  kNewHandle,       // a null handle
  kPixelData,       // a null pointer and PF_Err_BAD_CALLBACK_PARAM
  kIterate,         // the pixel function is not called
  kCheckout,        // nothing checked out
  kAddParam,        // the definition is not added
};

class HostInstrument {
public:
  virtual ~HostInstrument() = default;

  // Every call as one line of text, in order, before it is served, e.g.
  // "AcquireSuite PF ANSI Suite 1", "add_param -1", "checkout_param 5".
  virtual void Called(const std::string&) {}
  virtual void Counted(HostEvent) {}
  virtual void Answered(const CommandRecord&) {}
  virtual void Saw(const SuiteCall&) {}
  virtual void Saw(const CheckoutCall&) {}
  virtual void Saw(const StreamFlagChange&) {}
  virtual void Saw(const ParamUiUpdate&) {}
  // The text sprintf wrote.
  virtual void Formatted(const char*) {}
  virtual void HandleAsked(A_HandleSize) {}

  // Non-zero: the service is refused, and the code is its answer where it
  // answers one. `index` is the parameter of a call that names one, `suite`
  // the name of a suite asked for.
  virtual int32_t Refusal(Refusable, PF_ParamIndex /*index*/, const std::string& /*suite*/) { return 0; }
  // The record handed out for an acquired suite: the offered one, or another
  // (null included) that must live as long as the host.
  virtual const void* SuiteToHandOut(const OfferedSuite& offered) { return offered.suite; }
  // May alter a definition the host has just checked out.
  virtual void CheckedOut(PF_ParamIndex, PF_ParamDef&) {}
};

}  // namespace Orvane::Lumisk::HeadlessHost
