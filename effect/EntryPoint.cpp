#include "effect/EntryPoint.h"

#include <cstdint>
#include <memory>
#include <new>

#include "effect/ModuleGlobals.h"
#include "effect/ParamVisibility.h"
#include "effect/ParamsSetup.h"
#include "effect/RenderCommand.h"
#include "hostapi/HostSuiteHolder.h"
#include "hostapi/HostSuites.h"

namespace Orvane::Lumisk {

namespace {

// The about message keeps its numbers apart from the version word.
constexpr int kAboutMajor = 1;
constexpr int kAboutMinor = 1;

// A command record the host must supply; without it the command is a bad call.
template <typename Record>
Record& Require(Record* record) {
  if (record == nullptr) {
    throw static_cast<int>(PF_Err_BAD_CALLBACK_PARAM);
  }
  return *record;
}

void About(PF_InData* in_data, PF_OutData* out_data) {
  PF_OutData& out = Require(out_data);
  const HostSuiteHolder ansi(in_data, kPFANSISuite, kPFANSISuiteVersion1);
  ansi.Get<PF_ANSICallbacksSuite1>().sprintf(out.return_msg, "%s v%d.%d\r%s", kEffectName, kAboutMajor, kAboutMinor,
                                             kEffectName);
}

void GlobalSetup(PF_InData* in_data, PF_OutData* out_data) {
  // Version and flags first: the host has them even when what follows fails.
  PF_OutData& out = Require(out_data);
  out.my_version = kEffectVersion;
  out.out_flags = kEffectOutFlags;
  out.out_flags2 = kEffectOutFlags2;

  // A failed construction frees its memory and leaves the old table in place.
  auto table = std::make_unique<LocaleStringTable>(in_data);
  ReplaceStringTable(table.release());

  GlSetup();
}

void GlobalSetdown() {
  // The string table goes after the GL half, even when that half fails.
  try {
    GlSetdown();
  } catch (...) {
    FreeStringTables();
    throw;
  }
  FreeStringTables();
}

PF_Err Dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                void* extra) {
  // Unsigned, so negative commands fall through to "nothing" with the large ones.
  switch (static_cast<uint32_t>(cmd)) {
    case PF_Cmd_ABOUT:
      About(in_data, out_data);
      return PF_Err_NONE;
    case PF_Cmd_GLOBAL_SETUP:
      GlobalSetup(in_data, out_data);
      return PF_Err_NONE;
    case PF_Cmd_GLOBAL_SETDOWN:
      GlobalSetdown();
      return PF_Err_NONE;
    case PF_Cmd_PARAMS_SETUP:
      return ParamsSetup(in_data, out_data, params, output);
    case PF_Cmd_RENDER:
      RenderCommand(in_data, out_data, params, output);
      return PF_Err_NONE;
    case PF_Cmd_USER_CHANGED_PARAM:
      return UserChangedParam(in_data, out_data, params, extra);
    case PF_Cmd_UPDATE_PARAMS_UI:
      return UpdateParamsUI(in_data, out_data, params, output);
    default:
      return PF_Err_NONE;
  }
}

}  // namespace

}  // namespace Orvane::Lumisk

extern "C" LUMISK_EXPORT PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                               PF_ParamDef* params[], PF_LayerDef* output, void* extra) {
  try {
    return Orvane::Lumisk::Dispatch(cmd, in_data, out_data, params, output, extra);
  } catch (const int&) {
    // Every host code thrown inside becomes one answer, whatever its number.
    return PF_Err_BAD_CALLBACK_PARAM;
  } catch (const std::bad_alloc&) {
    return PF_Err_OUT_OF_MEMORY;
  } catch (...) {
    // GL set-up faults and other exceptions: the host must never see them.
    return PF_Err_INTERNAL_STRUCT_DAMAGED;
  }
}
