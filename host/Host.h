// The headless host: loads the effect module (or takes an entry point linked
// into the program) and drives EntryPointFunc as the compositing host would,
// with its own PF_InData, PF_OutData and params array and a basic suite that
// hands out the nine suites the effect uses, each implemented for real. An
// instrument (SetInstrument) may watch and refuse the module's calls.
//
// Typical use:
//   HeadlessHost::Host host;                    // loads the built ZQLumisk.aex
//   host.SetLanguageTag("zh_CN");
//   host.GlobalSetup();  host.ParamsSetup();
//   host.Params().SetPopup(5, 4);               // "Type" = Circle at all times
//   host.Render();
//
// One Host is "active" at a time (the most recently made one still alive):
// the suite functions that carry no effect reference (sprintf, the language
// query, handles) answer for it. Host callbacks lock one mutex, so the module
// may call them from several threads.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/HostInstrument.h"
#include "host/ModuleLoader.h"
#include "host/ParameterStore.h"
#include "host/World.h"
#include "hostapi/HostEffectApi.h"
#include "hostapi/HostSuites.h"

struct _AEGP_EffectRefH;
struct _AEGP_StreamRefH;

namespace Orvane::Lumisk::HeadlessHost {

// The module the build made (ZQLumisk.aex).
std::string DefaultModulePath();

// What Host::Send returns when an exception left EntryPointFunc.
constexpr PF_Err kExceptionEscaped = INT32_MIN;

enum class CommandPhase { kBefore, kAfter };
// Called around every command: before (result 0) and after (the result).
using CommandObserver = std::function<void(PF_Cmd cmd, CommandPhase phase, PF_Err result)>;

class Host {
public:
  // Loads the module at modulePath (std::runtime_error when it cannot).
  explicit Host(const std::string& modulePath = DefaultModulePath());
  // Drives an entry point linked into the calling program.
  explicit Host(PF_EntryPointFunc entryPoint);
  ~Host();

  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // ---- commands: the instrument hears of each result
  // Sends cmd with the host's own records, the params array at the current
  // time, the output world and extra. Returns kExceptionEscaped if an
  // exception left the module.
  PF_Err Send(PF_Cmd cmd, void* extra = nullptr);
  // Sends cmd with records of the caller's choice (null ones included).
  PF_Err SendRaw(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                 void* extra);
  PF_Err About() { return Send(PF_Cmd_ABOUT); }
  PF_Err GlobalSetup() { return Send(PF_Cmd_GLOBAL_SETUP); }
  PF_Err GlobalSetdown() { return Send(PF_Cmd_GLOBAL_SETDOWN); }
  // Forgets the definitions of an earlier parameter set-up first.
  PF_Err ParamsSetup();
  PF_Err Render() { return Send(PF_Cmd_RENDER); }
  PF_Err UserChangedParam(PF_ParamIndex changedIndex);
  PF_Err UpdateParamsUI() { return Send(PF_Cmd_UPDATE_PARAMS_UI); }

  PF_EntryPointFunc EntryPoint() const { return entry; }
  // The loader of the module, or null for a linked entry point.
  const ModuleLoader* Module() const { return module.get(); }

  // ---- the host's records handed to the module
  PF_InData& InData() { return inData; }
  PF_OutData& OutData() { return outData; }
  // in_data's current_time, time_step (and local_time_step) and time_scale.
  void SetTime(A_long currentTime, A_long timeStep, A_u_long timeScale);
  void SetDownsample(PF_RationalScale x, PF_RationalScale y);

  // ---- images. The host starts with its own 32 x 32 8-bit input and output.
  // SetInputLayer sets params[0] (a copy of the world's record, see
  // ParameterStore::SetLayer) and in_data's width and height; SetOutput sets
  // the output world of every command. Not owned: a world must outlive the
  // commands that read or write its pixels, and Input()/Output() refer to it.
  void SetInputLayer(World& world);
  void SetOutput(World& world);
  World& Input() { return *input; }
  World& Output() { return *outputWorld; }

  // ---- host services
  // The tag PF_AppGetLanguage writes: all six bytes as given...
  void SetLanguageTag(const std::array<A_char, PF_APP_LANG_TAG_SIZE>& tagBytes);
  // ...or a text of up to five characters, zero-filled (longer texts are cut).
  void SetLanguageTag(const char* tag);

  ParameterStore& Params() { return paramStore; }
  // Suites the module acquired and has not released.
  int HeldSuites();

  // Watches and may refuse the module's later calls (null: none); not owned,
  // it must outlive the commands.
  void SetInstrument(HostInstrument* watcher);

  void AddCommandObserver(CommandObserver observer) { observers.push_back(std::move(observer)); }

  // The active host (see above), or null.
  static Host* Active();

private:
  friend struct HostServices;

  struct HandleBlock;

  void Initialise();

  std::unique_ptr<ModuleLoader> module;
  PF_EntryPointFunc entry = nullptr;
  Host* previousActive = nullptr;

  std::recursive_mutex mutex;
  PF_InData inData{};
  PF_OutData outData{};
  PF_UtilCallbacks utilCallbacks{};
  SPBasicSuite basicSuite{};
  std::array<A_char, PF_APP_LANG_TAG_SIZE> languageTag{{'e', 'n', '_', 'U', 'S', '\0'}};

  // The host's own 8-bit input and output until the caller sets others.
  static constexpr A_long kOwnWorldSize = 32;
  World ownInput = World::Make8(kOwnWorldSize, kOwnWorldSize);
  World ownOutput = World::Make8(kOwnWorldSize, kOwnWorldSize);
  World* input = &ownInput;
  World* outputWorld = &ownOutput;
  // Taken when the output is set, so that a command never reaches through a
  // World that the caller has already let go.
  PF_EffectWorld* outputRecord = ownOutput.Get();

  ParameterStore paramStore;
  HostInstrument noInstrument;
  HostInstrument* instrument = &noInstrument;
  std::vector<CommandObserver> observers;

  std::vector<std::unique_ptr<_AEGP_EffectRefH>> effects;
  std::vector<std::unique_ptr<_AEGP_StreamRefH>> streams;
  std::vector<std::unique_ptr<HandleBlock>> handles;
  std::vector<std::pair<std::string, int32_t>> heldSuites;
  std::vector<const PF_ParamDef*> checkedOut;
};

}  // namespace Orvane::Lumisk::HeadlessHost
