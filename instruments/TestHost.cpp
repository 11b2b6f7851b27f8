#include "instruments/TestHost.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace Orvane::Lumisk::TestHost {

using HeadlessHost::HostEvent;
using HeadlessHost::OfferedSuite;
using HeadlessHost::Refusable;

namespace {

using AnyFunction = void (*)();

// The functions of an offered suite as a list the test host can alter.
std::vector<AnyFunction> FunctionsOf(const OfferedSuite& offered) {
  if (offered.functions.size() != offered.functionCount) {
    throw std::logic_error(std::string("the host names the functions of ") + offered.name + " wrongly");
  }
  std::vector<AnyFunction> functions(offered.functionCount);
  std::memcpy(functions.data(), offered.suite, functions.size() * sizeof(AnyFunction));
  return functions;
}

// The fault of a map by index, or 0.
template <typename Code>
Code FaultAt(const std::map<PF_ParamIndex, Code>& faults, PF_ParamIndex index) {
  const auto fault = faults.find(index);
  return fault != faults.end() ? fault->second : Code{};
}

}  // namespace

void HostInstrumentation::Counted(HostEvent event) {
  switch (event) {
    case HostEvent::kStrcpy:
      ++records.strcpyCalls;
      break;
    case HostEvent::kLanguageQuery:
      ++records.languageQueries;
      break;
    case HostEvent::kIterate:
      ++records.iterateCalls;
      break;
    case HostEvent::kCheckin:
      ++records.checkins;
      break;
    case HostEvent::kUnmatchedCheckin:
      ++records.unmatchedCheckins;
      break;
    case HostEvent::kEffectMade:
      ++records.effectsMade;
      break;
    case HostEvent::kEffectDisposed:
      ++records.effectsDisposed;
      break;
    case HostEvent::kStreamMade:
      ++records.streamsMade;
      break;
    case HostEvent::kStreamDisposed:
      ++records.streamsDisposed;
      break;
    case HostEvent::kHandleMade:
      ++records.handlesMade;
      break;
    case HostEvent::kHandleDisposed:
      ++records.handlesDisposed;
      break;
    case HostEvent::kBadHandle:
      ++records.badHandleCalls;
      break;
  }
}

int32_t HostInstrumentation::Refusal(Refusable what, PF_ParamIndex index, const std::string& suite) {
  switch (what) {
    case Refusable::kSuite:
      return faults.missingSuites.count(suite) != 0 ? A_Err_MISSING_SUITE : A_Err_NONE;
    case Refusable::kLanguage:
      return faults.languageError;
    case Refusable::kNewEffect:
      return faults.newEffectError;
    case Refusable::kNewStream:
      return FaultAt(faults.newStreamErrors, index);
    case Refusable::kGetStreamFlags:
      return FaultAt(faults.getStreamFlagsErrors, index);
    case Refusable::kSetStreamFlag:
      return FaultAt(faults.setStreamFlagErrors, index);
    case Refusable::kUpdateParamUi:
      return faults.updateParamUiError;
    case Refusable::kNewHandle:
      return faults.nullNewHandle ? PF_Err_OUT_OF_MEMORY : PF_Err_NONE;
    case Refusable::kPixelData:
      return faults.nullPixelData ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE;
    case Refusable::kIterate:
      return faults.iterateError;
    case Refusable::kCheckout:
      return FaultAt(faults.checkoutErrors, index);
    case Refusable::kAddParam:
      return ++records.addParamCalls == faults.addParamFailAtCall ? faults.addParamError : PF_Err_NONE;
  }
  return 0;
}

const void* HostInstrumentation::SuiteToHandOut(const OfferedSuite& offered) {
  if (faults.nullSuites.count(offered.name) != 0) return nullptr;
  std::vector<AnyFunction> functions;
  for (const auto& [suiteName, functionName] : faults.nullFunctions) {
    if (suiteName != offered.name) continue;
    if (functions.empty()) functions = FunctionsOf(offered);
    const auto named = std::find(offered.functions.begin(), offered.functions.end(), functionName);
    if (named == offered.functions.end()) {
      throw std::logic_error("the host's " + suiteName + " has no function " + functionName);
    }
    functions[static_cast<std::size_t>(named - offered.functions.begin())] = nullptr;
  }
  if (functions.empty()) return offered.suite;
  alteredSuites.push_back(std::make_unique<std::vector<AnyFunction>>(std::move(functions)));
  return alteredSuites.back()->data();
}

void HostInstrumentation::CheckedOut(PF_ParamIndex index, PF_ParamDef& param) {
  const auto wrongType = faults.wrongTypes.find(index);
  if (wrongType != faults.wrongTypes.end()) param.param_type = wrongType->second;
}

Host::Host(const std::string& modulePath) : HeadlessHost::Host(modulePath) {
  Instrument();
}

Host::Host(PF_EntryPointFunc entryPoint) : HeadlessHost::Host(entryPoint) {
  Instrument();
}

void Host::Instrument() {
  SetInstrument(&instrumentation);
  // Each parameter set-up counts its add_param calls from 1, however it is sent.
  AddCommandObserver([this](PF_Cmd cmd, CommandPhase phase, PF_Err) {
    if (cmd == PF_Cmd_PARAMS_SETUP && phase == CommandPhase::kBefore) instrumentation.records.addParamCalls = 0;
  });
}

Host::~Host() {
  // The instrumentation goes before the host it watches.
  SetInstrument(nullptr);
}

}  // namespace Orvane::Lumisk::TestHost
