// The services the host offers the module: the basic suite with the nine
// suites, the interaction callbacks and the utility callbacks of PF_InData.
#include "host/HostServices.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "host/Host.h"

namespace Orvane::Lumisk::HeadlessHost {

using AnyFunction = void (*)();

struct HostServices {
  using Lock = std::lock_guard<std::recursive_mutex>;

  static Host* FromRef(PF_ProgPtr effect_ref) { return reinterpret_cast<Host*>(effect_ref); }

  // ---------------------------------------------------------------- basic suite
  static SPErr AcquireSuite(const char* name, int32_t version, const void** suite);
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
      host->instrument->Called("sprintf");
      host->instrument->Formatted(buffer);
    }
    return written;
  }

  static PF_Err AppGetLanguage(A_char tag[PF_APP_LANG_TAG_SIZE]) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return PF_Err_BAD_CALLBACK_PARAM;
    }
    Lock lock(host->mutex);
    host->instrument->Called("PF_AppGetLanguage");
    host->instrument->Counted(HostEvent::kLanguageQuery);
    if (const PF_Err refused = host->instrument->Refusal(Refusable::kLanguage, 0, {})) {
      return refused;
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
    host->instrument->Called("AEGP_GetNewEffectForEffect");
    if (const A_Err refused = host->instrument->Refusal(Refusable::kNewEffect, 0, {})) {
      return refused;
    }
    host->effects.push_back(std::make_unique<_AEGP_EffectRefH>(_AEGP_EffectRefH{host, false}));
    *effectPH = host->effects.back().get();
    host->instrument->Counted(HostEvent::kEffectMade);
    return A_Err_NONE;
  }

  static A_Err DisposeEffect(AEGP_EffectRefH effectH) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    host->instrument->Called("AEGP_DisposeEffect");
    if (!KnownEffect(*host, effectH) || effectH->disposed) {
      host->instrument->Counted(HostEvent::kBadHandle);
      return A_Err_GENERIC;
    }
    effectH->disposed = true;
    host->instrument->Counted(HostEvent::kEffectDisposed);
    return A_Err_NONE;
  }

  static A_Err GetNewEffectStreamByIndex(AEGP_PluginID, AEGP_EffectRefH effectH, PF_ParamIndex index,
                                         AEGP_StreamRefH* streamPH) {
    Host* host = Host::Active();
    if (host == nullptr || streamPH == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    host->instrument->Called("AEGP_GetNewEffectStreamByIndex " + std::to_string(index));
    if (!KnownEffect(*host, effectH) || effectH->disposed) {
      host->instrument->Counted(HostEvent::kBadHandle);
      return A_Err_GENERIC;
    }
    if (const A_Err refused = host->instrument->Refusal(Refusable::kNewStream, index, {})) {
      return refused;
    }
    if (!host->paramStore.Has(index)) {
      return A_Err_GENERIC;
    }
    host->streams.push_back(std::make_unique<_AEGP_StreamRefH>(_AEGP_StreamRefH{host, index, false}));
    *streamPH = host->streams.back().get();
    host->instrument->Counted(HostEvent::kStreamMade);
    return A_Err_NONE;
  }

  static A_Err DisposeStream(AEGP_StreamRefH streamH) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    if (!LiveStream(*host, streamH)) {
      host->instrument->Called("AEGP_DisposeStream ?");
      host->instrument->Counted(HostEvent::kBadHandle);
      return A_Err_GENERIC;
    }
    host->instrument->Called("AEGP_DisposeStream " + std::to_string(streamH->index));
    streamH->disposed = true;
    host->instrument->Counted(HostEvent::kStreamDisposed);
    return A_Err_NONE;
  }

  static A_Err GetDynamicStreamFlags(AEGP_StreamRefH streamH, AEGP_DynStreamFlags* flagsP) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return A_Err_GENERIC;
    }
    Lock lock(host->mutex);
    if (!LiveStream(*host, streamH) || flagsP == nullptr) {
      host->instrument->Called("AEGP_GetDynamicStreamFlags ?");
      host->instrument->Counted(HostEvent::kBadHandle);
      return A_Err_GENERIC;
    }
    host->instrument->Called("AEGP_GetDynamicStreamFlags " + std::to_string(streamH->index));
    if (const A_Err refused = host->instrument->Refusal(Refusable::kGetStreamFlags, streamH->index, {})) {
      return refused;
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
      host->instrument->Called("AEGP_SetDynamicStreamFlag ?");
      host->instrument->Counted(HostEvent::kBadHandle);
      return A_Err_GENERIC;
    }
    const PF_ParamIndex index = streamH->index;
    host->instrument->Called("AEGP_SetDynamicStreamFlag " + std::to_string(index) + (setB != 0 ? " set" : " clear"));
    if (const A_Err refused = host->instrument->Refusal(Refusable::kSetStreamFlag, index, {})) {
      return refused;
    }
    HostParam& param = host->paramStore.At(index);
    host->instrument->Saw(StreamFlagChange{index, one_flag, undoableB != 0, setB != 0, param.live.flags});
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
    host->instrument->Called("PF_UpdateParamUI " + std::to_string(param_index));
    host->instrument->Saw(ParamUiUpdate{param_index, defP != nullptr ? *defP : PF_ParamDef{}});
    return host->instrument->Refusal(Refusable::kUpdateParamUi, param_index, {});
  }

  static PF_Handle NewHandle(A_HandleSize size) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return nullptr;
    }
    Lock lock(host->mutex);
    host->instrument->Called("host_new_handle " + std::to_string(size));
    host->instrument->HandleAsked(size);
    if (host->instrument->Refusal(Refusable::kNewHandle, 0, {}) != 0) {
      return nullptr;
    }
    auto block = std::make_unique<Host::HandleBlock>();
    // One byte at least, so that a handle of size 0 still has a buffer.
    block->bytes.assign(static_cast<std::size_t>(size) + 1, 0);
    block->data = block->bytes.data();
    host->handles.push_back(std::move(block));
    host->instrument->Counted(HostEvent::kHandleMade);
    return &host->handles.back()->data;
  }

  static void* LockHandle(PF_Handle handle) {
    Host* host = Host::Active();
    if (host == nullptr) {
      return nullptr;
    }
    Lock lock(host->mutex);
    host->instrument->Called("host_lock_handle");
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
    host->instrument->Called("host_unlock_handle");
    Host::HandleBlock* block = LiveHandle(*host, handle);
    if (block == nullptr || block->locks == 0) {
      host->instrument->Counted(HostEvent::kBadHandle);
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
    host->instrument->Called("host_dispose_handle");
    Host::HandleBlock* block = LiveHandle(*host, handle);
    if (block == nullptr) {
      return;
    }
    block->disposed = true;
    block->bytes = std::vector<uint8_t>();
    block->data = nullptr;
    host->instrument->Counted(HostEvent::kHandleDisposed);
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
      host->instrument->Counted(HostEvent::kStrcpy);
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
    host.instrument->Counted(HostEvent::kBadHandle);
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
      host->instrument->Called(depth == PixelDepth::k8 ? "get_pixel_data8" : "get_pixel_data16");
      if (host->instrument->Refusal(Refusable::kPixelData, 0, {}) != 0) {
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

}  // namespace

SPErr HostServices::AcquireSuite(const char* name, int32_t version, const void** suite) {
  Host* host = Host::Active();
  if (host == nullptr || name == nullptr || suite == nullptr) {
    return A_Err_MISSING_SUITE;
  }
  Lock lock(host->mutex);
  const std::string suiteName = name;
  host->instrument->Called("AcquireSuite " + suiteName + " " + std::to_string(version));
  const OfferedSuite* offered = FindOfferedSuite(suiteName, version);
  SPErr result = A_Err_NONE;
  if (offered == nullptr || host->instrument->Refusal(Refusable::kSuite, 0, suiteName) != 0) {
    result = A_Err_MISSING_SUITE;
  } else {
    *suite = host->instrument->SuiteToHandOut(*offered);
    host->heldSuites.emplace_back(suiteName, version);
  }
  host->instrument->Saw(SuiteCall{SuiteCall::Kind::kAcquire, suiteName, version, result});
  return result;
}

SPErr HostServices::ReleaseSuite(const char* name, int32_t version) {
  Host* host = Host::Active();
  if (host == nullptr || name == nullptr) {
    return A_Err_GENERIC;
  }
  Lock lock(host->mutex);
  const std::string suiteName = name;
  host->instrument->Called("ReleaseSuite " + suiteName + " " + std::to_string(version));
  SPErr result = A_Err_GENERIC;
  auto& held = host->heldSuites;
  for (auto it = held.rbegin(); it != held.rend(); ++it) {
    if (it->first == suiteName && it->second == version) {
      held.erase(std::next(it).base());
      result = A_Err_NONE;
      break;
    }
  }
  host->instrument->Saw(SuiteCall{SuiteCall::Kind::kRelease, suiteName, version, result});
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
    host->instrument->Called("iterate");
    host->instrument->Counted(HostEvent::kIterate);
    if (const PF_Err refused = host->instrument->Refusal(Refusable::kIterate, 0, {})) {
      return refused;
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
  host->instrument->Called("checkout_param " + std::to_string(index));
  PF_Err result = PF_Err_NONE;
  if (const PF_Err refused = host->instrument->Refusal(Refusable::kCheckout, index, {})) {
    result = refused;
  } else if (!host->paramStore.Has(index)) {
    result = PF_Err_INVALID_INDEX;
  } else {
    *param = host->paramStore.ValueAt(index, what_time);
    host->instrument->CheckedOut(index, *param);
  }
  host->instrument->Saw(CheckoutCall{index, what_time, time_step, time_scale, result});
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
  host->instrument->Called("checkin_param");
  host->instrument->Counted(HostEvent::kCheckin);
  auto& out = host->checkedOut;
  for (auto it = out.begin(); it != out.end(); ++it) {
    if (*it == param) {
      out.erase(it);
      return PF_Err_NONE;
    }
  }
  host->instrument->Counted(HostEvent::kUnmatchedCheckin);
  return PF_Err_BAD_CALLBACK_PARAM;
}

PF_Err HostServices::AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
  Host* host = FromRef(effect_ref);
  if (host == nullptr || def == nullptr) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  Lock lock(host->mutex);
  host->instrument->Called("add_param " + std::to_string(index));
  if (const PF_Err refused = host->instrument->Refusal(Refusable::kAddParam, index, {})) {
    return refused;
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

}  // namespace Orvane::Lumisk::HeadlessHost
