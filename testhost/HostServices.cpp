// The services the test host offers the module: the basic suite with the nine
// suites, the interaction callbacks and the utility callbacks of PF_InData.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "testhost/Host.h"
#include "testhost/HostServices.h"

namespace Orvane::Lumisk::TestHost {

using AnyFunction = void (*)();

// One suite the host offers, with the names of its functions in the order the
// record lists them, so that a fault can null one of them by name.
struct OfferedSuite {
  const char* name;
  int32_t version;
  const void* suite;
  std::size_t functionCount;
  std::vector<std::string> functions;
};

struct HostServices {
  using Lock = std::lock_guard<std::recursive_mutex>;

  static Host* FromRef(PF_ProgPtr effect_ref) { return reinterpret_cast<Host*>(effect_ref); }

  // ---------------------------------------------------------------- basic suite
  static SPErr AcquireSuite(const char* name, int32_t version, const void** suite);
  // The offered record, or a copy of it with Faults().nullFunctions nulled.
  static const void* SuiteToHandOut(Host& host, const OfferedSuite& offered);
  static SPErr ReleaseSuite(const char* name, int32_t version);

  // ---------------------------------------------------------------- suites
  static A_long Sprintf(A_char* buffer, const A_char* format, ...) {
    va_list args;
    va_start(args, format);
    // The effect formats only into its 256-byte message buffer.
    const int written = std::vsnprintf(buffer, PF_MAX_EFFECT_MSG_LEN + 1, format, args);
    va_end(args);
    if (Host* host = Host::Active()) {
      Lock lock(host->mutex);
      host->Record("sprintf");
      host->records.sprintfOutputs.emplace_back(buffer);
    }
    return written;
  }

  static PF_Err AppGetLanguage(A_char tag[PF_APP_LANG_TAG_SIZE]) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return PF_Err_BAD_CALLBACK_PARAM;
    }
    Lock lock(host->mutex);
    host->Record("PF_AppGetLanguage");
    ++host->records.languageQueries;
    if (host->faults.languageError != PF_Err_NONE) {
      return host->faults.languageError;
    }
    std::memcpy(tag, host->languageTag.data(), PF_APP_LANG_TAG_SIZE);
    return PF_Err_NONE;
  }

  static A_Err GetNewEffectForEffect(AEGP_PluginID, PF_ProgPtr effect_ref, AEGP_EffectRefH* effectPH) {
    Host* host = FromRef(effect_ref);
    if (host == nullptr || effectPH == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    host->Record("AEGP_GetNewEffectForEffect");
    if (host->faults.newEffectError != A_Err_NONE) {
      return host->faults.newEffectError;
    }
    host->effects.push_back(std::make_unique<_AEGP_EffectRefH>(_AEGP_EffectRefH{host, false}));
    *effectPH = host->effects.back().get();
    ++host->records.effectsMade;
    return A_Err_NONE;
  }

  static A_Err DisposeEffect(AEGP_EffectRefH effectH) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    host->Record("AEGP_DisposeEffect");
    if (!KnownEffect(*host, effectH) || effectH->disposed) {
      ++host->records.badHandleCalls;
      return A_Err_GENERIC;
    }
    effectH->disposed = true;
    ++host->records.effectsDisposed;
    return A_Err_NONE;
  }

  static A_Err GetNewEffectStreamByIndex(AEGP_PluginID, AEGP_EffectRefH effectH, PF_ParamIndex index,
                                         AEGP_StreamRefH* streamPH) {
    Host* host = Host::Active();
    if (host == nullptr || streamPH == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    host->Record("AEGP_GetNewEffectStreamByIndex " + std::to_string(index));
    if (!KnownEffect(*host, effectH) || effectH->disposed) {
      ++host->records.badHandleCalls;
      return A_Err_GENERIC;
    }
    const auto fault = host->faults.newStreamErrors.find(index);
    if (fault != host->faults.newStreamErrors.end()) {
      return fault->second;
    }
    if (!host->paramStore.Has(index)) {
      return A_Err_GENERIC;
    }
    host->streams.push_back(std::make_unique<_AEGP_StreamRefH>(_AEGP_StreamRefH{host, index, false}));
    *streamPH = host->streams.back().get();
    ++host->records.streamsMade;
    return A_Err_NONE;
  }

  static A_Err DisposeStream(AEGP_StreamRefH streamH) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    if (!LiveStream(*host, streamH)) {
      host->Record("AEGP_DisposeStream ?");
      ++host->records.badHandleCalls;
      return A_Err_GENERIC;
    }
    host->Record("AEGP_DisposeStream " + std::to_string(streamH->index));
    streamH->disposed = true;
    ++host->records.streamsDisposed;
    return A_Err_NONE;
  }

  static A_Err GetDynamicStreamFlags(AEGP_StreamRefH streamH, AEGP_DynStreamFlags* flagsP) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    if (!LiveStream(*host, streamH) || flagsP == nullptr) {
      host->Record("AEGP_GetDynamicStreamFlags ?");
      ++host->records.badHandleCalls;
      return A_Err_GENERIC;
    }
    host->Record("AEGP_GetDynamicStreamFlags " + std::to_string(streamH->index));
    const auto fault = host->faults.getStreamFlagsErrors.find(streamH->index);
    if (fault != host->faults.getStreamFlagsErrors.end()) {
      return fault->second;
    }
    *flagsP = host->paramStore.At(streamH->index).streamFlags;
    return A_Err_NONE;
  }

  static A_Err SetDynamicStreamFlag(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag, A_Boolean undoableB,
                                    A_Boolean setB) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    if (!LiveStream(*host, streamH)) {
      host->Record("AEGP_SetDynamicStreamFlag ?");
      ++host->records.badHandleCalls;
      return A_Err_GENERIC;
    }
    const PF_ParamIndex index = streamH->index;
    host->Record("AEGP_SetDynamicStreamFlag " + std::to_string(index) + (setB != 0 ? " set" : " clear"));
    const auto fault = host->faults.setStreamFlagErrors.find(index);
    if (fault != host->faults.setStreamFlagErrors.end()) {
      return fault->second;
    }
    HostParam& param = host->paramStore.At(index);
    host->records.streamFlagChanges.push_back(
        StreamFlagChange{index, one_flag, undoableB != 0, setB != 0, param.live.flags});
    AEGP_DynStreamFlags& flags = param.streamFlags;
    flags = setB != 0 ? (flags | one_flag) : (flags & ~one_flag);
    return A_Err_NONE;
  }

  static PF_Err UpdateParamUI(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const PF_ParamDef* defP) {
    Host* host = FromRef(effect_ref);
    if (host == nullptr) {
      return PF_Err_BAD_CALLBACK_PARAM;
    }
    Lock lock(host->mutex);
    host->Record("PF_UpdateParamUI " + std::to_string(param_index));
    host->records.uiUpdates.push_back(ParamUiUpdate{param_index, defP != nullptr ? *defP : PF_ParamDef{}});
    return host->faults.updateParamUiError;
  }

  static PF_Handle NewHandle(A_HandleSize size) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return nullptr;
    }
    Lock lock(host->mutex);
    host->Record("host_new_handle " + std::to_string(size));
    host->records.handleSizes.push_back(size);
    if (host->faults.nullNewHandle) {
      return nullptr;
    }
    auto block = std::make_unique<Host::HandleBlock>();
    // One byte at least, so that a handle of size 0 still has a buffer.
    block->bytes.assign(static_cast<std::size_t>(size) + 1, 0);
    block->data = block->bytes.data();
    host->handles.push_back(std::move(block));
    ++host->records.handlesMade;
    return &host->handles.back()->data;
  }

  static void* LockHandle(PF_Handle handle) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return nullptr;
    }
    Lock lock(host->mutex);
    host->Record("host_lock_handle");
    Host::HandleBlock* block = LiveHandle(*host, handle);
    if (block == nullptr) {
      return nullptr;
    }
    ++block->locks;
    return block->data;
  }

  static void UnlockHandle(PF_Handle handle) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return;
    }
    Lock lock(host->mutex);
    host->Record("host_unlock_handle");
    Host::HandleBlock* block = LiveHandle(*host, handle);
    if (block == nullptr || block->locks == 0) {
      ++host->records.badHandleCalls;
      return;
    }
    --block->locks;
  }

  static void DisposeHandle(PF_Handle handle) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return;
    }
    Lock lock(host->mutex);
    host->Record("host_dispose_handle");
    Host::HandleBlock* block = LiveHandle(*host, handle);
    if (block == nullptr) {
      return;
    }
    block->disposed = true;
    block->bytes = std::vector<uint8_t>();
    block->data = nullptr;
    ++host->records.handlesDisposed;
  }

  static PF_Err Iterate(PF_InData* in_data, A_long progress_base, A_long progress_final, PF_EffectWorld* src,
                        const PF_Rect* area, void* refcon, PF_IteratePixelFloatFunc pix_fn, PF_EffectWorld* dst);

  // ---------------------------------------------------------------- callbacks of PF_InData
  static PF_Err CheckoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                              A_u_long time_scale, PF_ParamDef* param);
  static PF_Err CheckinParam(PF_ProgPtr effect_ref, PF_ParamDef* param);
  static PF_Err AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);
  static A_char* Strcpy(A_char* dest, const A_char* src) {
    if (Host* host = Host::Active()) {
      Lock lock(host->mutex);
      ++host->records.strcpyCalls;
    }
    return std::strcpy(dest, src);
  }
  static PF_Err PixelData8(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0, PF_Pixel8** pixPP) {
    return PixelData(worldP, pixelsP0, reinterpret_cast<void**>(pixPP), PixelDepth::k8);
  }
  static PF_Err PixelData16(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0, PF_Pixel16** pixPP) {
    return PixelData(worldP, pixelsP0, reinterpret_cast<void**>(pixPP), PixelDepth::k16);
  }

  static void Install(Host& host);

private:
  static bool KnownEffect(const Host& host, AEGP_EffectRefH effectH) {
    for (const auto& effect : host.effects) {
      if (effect.get() == effectH) {
        return true;
      }
    }
    return false;
  }

  static bool LiveStream(const Host& host, AEGP_StreamRefH streamH) {
    for (const auto& stream : host.streams) {
      if (stream.get() == streamH) {
        return !stream->disposed;
      }
    }
    return false;
  }

  static Host::HandleBlock* LiveHandle(Host& host, PF_Handle handle) {
    for (const auto& block : host.handles) {
      if (&block->data == handle && !block->disposed) {
        return block.get();
      }
    }
    ++host.records.badHandleCalls;
    return nullptr;
  }

  static PF_Err PixelData(PF_EffectWorld* worldP, PF_PixelPtr pixelsP0, void** pixPP, PixelDepth depth) {
    Host* host = Host::Active();
    if (pixPP == nullptr) {
      return PF_Err_BAD_CALLBACK_PARAM;
    }
    *pixPP = nullptr;
    if (host != nullptr) {
      Lock lock(host->mutex);
      host->Record(depth == PixelDepth::k8 ? "get_pixel_data8" : "get_pixel_data16");
      if (host->faults.nullPixelData) {
        return PF_Err_BAD_CALLBACK_PARAM;
      }
    }
    if (worldP == nullptr || DepthOf(*worldP) != depth) {
      return PF_Err_BAD_CALLBACK_PARAM;
    }
    *pixPP = pixelsP0 != nullptr ? static_cast<void*>(pixelsP0) : static_cast<void*>(worldP->data);
    return PF_Err_NONE;
  }
};

namespace {

const PF_ANSICallbacksSuite1 kAnsiSuite = {&HostServices::Sprintf};
const PF_AppSuite7 kAppSuite = {&HostServices::AppGetLanguage};
const AEGP_PFInterfaceSuite1 kPFInterfaceSuite = {&HostServices::GetNewEffectForEffect};
const AEGP_EffectSuite2 kEffectSuite = {&HostServices::DisposeEffect};
const AEGP_StreamSuite7 kStreamSuite = {&HostServices::GetNewEffectStreamByIndex, &HostServices::DisposeStream};
const AEGP_DynamicStreamSuite2 kDynamicStreamSuite = {&HostServices::GetDynamicStreamFlags,
                                                      &HostServices::SetDynamicStreamFlag};
const PF_ParamUtilsSuite3 kParamUtilsSuite = {&HostServices::UpdateParamUI};
const PF_HandleSuite2 kHandleSuite = {&HostServices::NewHandle, &HostServices::LockHandle, &HostServices::UnlockHandle,
                                      &HostServices::DisposeHandle};
const PF_iterateFloatSuite1 kIterateFloatSuite = {&HostServices::Iterate};

template <typename Suite>
OfferedSuite Offer(const char* name, int32_t version, const Suite& suite, std::vector<std::string> functions) {
  static_assert(sizeof(Suite) % sizeof(AnyFunction) == 0, "a suite record is a list of function pointers");
  return OfferedSuite{name, version, &suite, sizeof(Suite) / sizeof(AnyFunction), std::move(functions)};
}

const std::vector<OfferedSuite>& OfferedSuites() {
  static const std::vector<OfferedSuite> offered = {
      Offer(kPFANSISuite, kPFANSISuiteVersion1, kAnsiSuite, {"sprintf"}),
      Offer(kPFAppSuite, kPFAppSuiteVersion7, kAppSuite, {"PF_AppGetLanguage"}),
      Offer(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, kPFInterfaceSuite, {"AEGP_GetNewEffectForEffect"}),
      Offer(kAEGPEffectSuite, kAEGPEffectSuiteVersion2, kEffectSuite, {"AEGP_DisposeEffect"}),
      Offer(kAEGPStreamSuite, kAEGPStreamSuiteVersion7, kStreamSuite,
            {"AEGP_GetNewEffectStreamByIndex", "AEGP_DisposeStream"}),
      Offer(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2, kDynamicStreamSuite,
            {"AEGP_GetDynamicStreamFlags", "AEGP_SetDynamicStreamFlag"}),
      Offer(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, kParamUtilsSuite, {"PF_UpdateParamUI"}),
      Offer(kPFHandleSuite, kPFHandleSuiteVersion2, kHandleSuite,
            {"host_new_handle", "host_lock_handle", "host_unlock_handle", "host_dispose_handle"}),
      Offer(kPFIterateFloatSuite, kPFIterateFloatSuiteVersion1, kIterateFloatSuite, {"iterate"}),
  };
  return offered;
}

const OfferedSuite* FindOfferedSuite(const std::string& name, int32_t version) {
  for (const OfferedSuite& offered : OfferedSuites()) {
    if (name == offered.name && version == offered.version) {
      return &offered;
    }
  }
  return nullptr;
}

// The functions of an offered suite as a list the host can alter.
std::vector<AnyFunction> FunctionsOf(const OfferedSuite& offered) {
  if (offered.functions.size() != offered.functionCount) {
    throw std::logic_error(std::string("the test host names the functions of ") + offered.name + " wrongly");
  }
  std::vector<AnyFunction> functions(offered.functionCount);
  std::memcpy(functions.data(), offered.suite, functions.size() * sizeof(AnyFunction));
  return functions;
}

}  // namespace

const void* HostServices::SuiteToHandOut(Host& host, const OfferedSuite& offered) {
  std::vector<AnyFunction> functions;
  for (const auto& [suiteName, functionName] : host.faults.nullFunctions) {
    if (suiteName != offered.name) continue;
    if (functions.empty()) functions = FunctionsOf(offered);
    const auto named = std::find(offered.functions.begin(), offered.functions.end(), functionName);
    if (named == offered.functions.end()) {
      throw std::logic_error("the test host's " + suiteName + " has no function " + functionName);
    }
    functions[static_cast<std::size_t>(named - offered.functions.begin())] = nullptr;
  }
  if (functions.empty()) return offered.suite;
  host.alteredSuites.push_back(std::make_unique<std::vector<AnyFunction>>(std::move(functions)));
  return host.alteredSuites.back()->data();
}

SPErr HostServices::AcquireSuite(const char* name, int32_t version, const void** suite) {
  Host* host = Host::Active();
  if (host == nullptr || name == nullptr || suite == nullptr) {
    return A_Err_MISSING_SUITE;
  }
  Lock lock(host->mutex);
  const std::string suiteName = name;
  host->Record("AcquireSuite " + suiteName + " " + std::to_string(version));
  const OfferedSuite* offered = FindOfferedSuite(suiteName, version);
  SPErr result = A_Err_NONE;
  if (offered == nullptr || host->faults.missingSuites.count(suiteName) != 0) {
    result = A_Err_MISSING_SUITE;
  } else {
    *suite = host->faults.nullSuites.count(suiteName) != 0 ? nullptr : SuiteToHandOut(*host, *offered);
    host->heldSuites.emplace_back(suiteName, version);
  }
  host->records.suiteCalls.push_back(SuiteCall{SuiteCall::Kind::kAcquire, suiteName, version, result});
  return result;
}

SPErr HostServices::ReleaseSuite(const char* name, int32_t version) {
  Host* host = Host::Active();
  if (host == nullptr || name == nullptr) {
    return A_Err_GENERIC;
  }
  Lock lock(host->mutex);
  const std::string suiteName = name;
  host->Record("ReleaseSuite " + suiteName + " " + std::to_string(version));
  SPErr result = A_Err_GENERIC;
  auto& held = host->heldSuites;
  for (auto it = held.rbegin(); it != held.rend(); ++it) {
    if (it->first == suiteName && it->second == version) {
      held.erase(std::next(it).base());
      result = A_Err_NONE;
      break;
    }
  }
  host->records.suiteCalls.push_back(SuiteCall{SuiteCall::Kind::kRelease, suiteName, version, result});
  return result;
}

PF_Err HostServices::Iterate(PF_InData* in_data, A_long, A_long, PF_EffectWorld* src, const PF_Rect* area, void* refcon,
                             PF_IteratePixelFloatFunc pix_fn, PF_EffectWorld* dst) {
  Host* host = in_data != nullptr ? FromRef(in_data->effect_ref) : nullptr;
  if (host == nullptr) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  {
    Lock lock(host->mutex);
    host->Record("iterate");
    ++host->records.iterateCalls;
    if (host->faults.iterateError != PF_Err_NONE) {
      return host->faults.iterateError;
    }
  }
  if (src == nullptr || dst == nullptr || pix_fn == nullptr || DepthOf(*src) != PixelDepth::kFloat ||
      DepthOf(*dst) != PixelDepth::kFloat || src->width != dst->width || src->height != dst->height) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  const PF_Rect whole{0, 0, src->width, src->height};
  const PF_Rect& rect = area != nullptr ? *area : whole;
  for (A_long y = rect.top; y < rect.bottom; ++y) {
    auto* in = reinterpret_cast<PF_PixelFloat*>(reinterpret_cast<uint8_t*>(src->data) +
                                                static_cast<std::ptrdiff_t>(y) * src->rowbytes);
    auto* out = reinterpret_cast<PF_PixelFloat*>(reinterpret_cast<uint8_t*>(dst->data) +
                                                 static_cast<std::ptrdiff_t>(y) * dst->rowbytes);
    for (A_long x = rect.left; x < rect.right; ++x) {
      // The pixel function runs without the host's lock, as the host would
      // call it from its own worker threads.
      const PF_Err err = pix_fn(refcon, x, y, &in[x], &out[x]);
      if (err != PF_Err_NONE) {
        return err;
      }
    }
  }
  return PF_Err_NONE;
}

PF_Err HostServices::CheckoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
                                   A_u_long time_scale, PF_ParamDef* param) {
  Host* host = FromRef(effect_ref);
  if (host == nullptr || param == nullptr) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  Lock lock(host->mutex);
  host->Record("checkout_param " + std::to_string(index));
  PF_Err result = PF_Err_NONE;
  const auto fault = host->faults.checkoutErrors.find(index);
  if (fault != host->faults.checkoutErrors.end()) {
    result = fault->second;
  } else if (!host->paramStore.Has(index)) {
    result = PF_Err_INVALID_INDEX;
  } else {
    *param = host->paramStore.ValueAt(index, what_time);
    const auto wrongType = host->faults.wrongTypes.find(index);
    if (wrongType != host->faults.wrongTypes.end()) {
      param->param_type = wrongType->second;
    }
  }
  host->records.checkouts.push_back(CheckoutCall{index, what_time, time_step, time_scale, result});
  if (result == PF_Err_NONE) {
    host->checkedOut.push_back(param);
  }
  return result;
}

PF_Err HostServices::CheckinParam(PF_ProgPtr effect_ref, PF_ParamDef* param) {
  Host* host = FromRef(effect_ref);
  if (host == nullptr) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  Lock lock(host->mutex);
  host->Record("checkin_param");
  ++host->records.checkins;
  auto& out = host->checkedOut;
  for (auto it = out.begin(); it != out.end(); ++it) {
    if (*it == param) {
      out.erase(it);
      return PF_Err_NONE;
    }
  }
  ++host->records.unmatchedCheckins;
  return PF_Err_BAD_CALLBACK_PARAM;
}

PF_Err HostServices::AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
  Host* host = FromRef(effect_ref);
  if (host == nullptr || def == nullptr) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  Lock lock(host->mutex);
  host->Record("add_param " + std::to_string(index));
  const int call = ++host->records.addParamCalls;
  if (call == host->faults.addParamFailAtCall) {
    return host->faults.addParamError;
  }
  host->paramStore.Add(index, *def);
  return PF_Err_NONE;
}

void HostServices::Install(Host& host) {
  host.basicSuite.AcquireSuite = &AcquireSuite;
  host.basicSuite.ReleaseSuite = &ReleaseSuite;
  host.utilCallbacks.ansi.strcpy = &Strcpy;
  host.utilCallbacks.get_pixel_data8 = &PixelData8;
  host.utilCallbacks.get_pixel_data16 = &PixelData16;
  host.inData.inter.checkout_param = &CheckoutParam;
  host.inData.inter.checkin_param = &CheckinParam;
  host.inData.inter.add_param = &AddParam;
  host.inData.utils = &host.utilCallbacks;
  host.inData.pica_basicP = &host.basicSuite;
  host.inData.effect_ref = reinterpret_cast<PF_ProgPtr>(&host);
}

void InstallHostServices(Host& host) {
  HostServices::Install(host);
}

}  // namespace Orvane::Lumisk::TestHost
