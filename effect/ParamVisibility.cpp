#include "effect/ParamVisibility.h"

#include "hostapi/HostSuiteHolder.h"
#include "hostapi/HostSuites.h"

namespace Orvane::Lumisk {
namespace {

// 1-based "Type" choices that decide the rule.
constexpr PF_ParamValue kMapTypeNone = 1;
constexpr PF_ParamValue kMapTypeCustomLayer = 6;

bool UsedByCustomLayerMap(PF_ParamIndex control) {
  return control == kParamCustomLayer || control == kParamFocalDistance || control == kParamInvert ||
         control == kParamShow;
}

// A host reference (effect or stream) disposed at scope exit, also while an
// exception unwinds, and only when the host made it.
template <typename Ref>
class HostRef {
public:
  using Dispose = A_Err (*)(Ref);
  explicit HostRef(Dispose disposeFn) : dispose(disposeFn) {}
  ~HostRef() {
    if (ref != nullptr) dispose(ref);
  }
  HostRef(const HostRef&) = delete;
  HostRef& operator=(const HostRef&) = delete;

  // Where the host's "get new" call writes the reference.
  Ref* Address() { return &ref; }
  // Takes the host's result: a failed call made nothing, whatever it wrote.
  void Keep(A_Err result) {
    if (result != A_Err_NONE) ref = nullptr;
  }
  Ref Get() const { return ref; }

private:
  Dispose dispose;
  Ref ref = nullptr;
};

// Flips one control's hidden flag when it differs from the wanted state;
// returns whether the control changed.
bool BringStreamToState(const AEGP_StreamSuite7& streamSuite, const AEGP_DynamicStreamSuite2& dynamicSuite,
                        AEGP_EffectRefH effect, PF_ParamIndex index, bool wantShown, PF_ParamDef& def) {
  HostRef<AEGP_StreamRefH> stream(streamSuite.AEGP_DisposeStream);
  stream.Keep(streamSuite.AEGP_GetNewEffectStreamByIndex(0, effect, index, stream.Address()));
  if (stream.Get() == nullptr) return false;
  AEGP_DynStreamFlags flags = 0;
  if (dynamicSuite.AEGP_GetDynamicStreamFlags(stream.Get(), &flags) != A_Err_NONE) return false;
  const bool shown = (flags & AEGP_DynStreamFlag_HIDDEN) == 0;
  if (shown == wantShown) return false;
  // The host redraws the control from this definition's flags. The flag
  // call's result is not read: the control counts as changed either way, so the
  // host is asked to redraw it.
  def.flags |= PF_ParamFlag_COLLAPSE_TWIRLY;
  const A_Boolean hide = wantShown ? 0 : 1;
  dynamicSuite.AEGP_SetDynamicStreamFlag(stream.Get(), AEGP_DynStreamFlag_HIDDEN, 0, hide);
  return true;
}

const PF_ParamDef* MapTypeDef(PF_ParamDef* params[]) {
  return params != nullptr ? params[kParamMapType] : nullptr;
}

// Commands 13 and 14 share this: both suites and the effect handle are made
// for every command; the rule runs only when applyRule is set.
void RunVisibilityCommand(PF_InData* in_data, PF_ParamDef* params[], bool applyRule) {
  HostSuiteHolder effectSuite(in_data, kAEGPEffectSuite, kAEGPEffectSuiteVersion2);
  HostSuiteHolder interfaceSuite(in_data, kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1);
  // Disposed before the two suites are released, also on the way out of a throw.
  HostRef<AEGP_EffectRefH> effect(effectSuite.Get<AEGP_EffectSuite2>().AEGP_DisposeEffect);
  effect.Keep(interfaceSuite.Get<AEGP_PFInterfaceSuite1>().AEGP_GetNewEffectForEffect(0, in_data->effect_ref,
                                                                                      effect.Address()));
  const PF_ParamDef* mapType = MapTypeDef(params);
  if (!applyRule || effect.Get() == nullptr || mapType == nullptr) return;
  SetParamsVisibility(in_data, effect.Get(), params, kBlurMapControls, WantedControlStates(mapType->u.pd.value));
}

}  // namespace

ControlStateList WantedControlStates(PF_ParamValue mapType) {
  ControlStateList states{};
  if (mapType == kMapTypeNone) return states;
  for (std::size_t i = 0; i < kBlurMapControlCount; ++i) {
    const PF_ParamIndex control = kBlurMapControls[i];
    const bool shown = mapType == kMapTypeCustomLayer ? UsedByCustomLayerMap(control) : control != kParamCustomLayer;
    states[i] = shown ? 1 : 0;
  }
  return states;
}

void SetParamsVisibility(PF_InData* in_data, AEGP_EffectRefH effect, PF_ParamDef* params[],
                         const BlurMapControlList& indices, const ControlStateList& wanted) {
  HostSuiteHolder paramUtils(in_data, kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
  HostSuiteHolder dynamicStreams(in_data, kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2);
  HostSuiteHolder streams(in_data, kAEGPStreamSuite, kAEGPStreamSuiteVersion7);
  // All three records are checked before the first control changes, so a
  // host function that is missing ends the command with every control as it was.
  const auto& updateUi = paramUtils.Get<PF_ParamUtilsSuite3>();
  const auto& dynamicSuite = dynamicStreams.Get<AEGP_DynamicStreamSuite2>();
  const auto& streamSuite = streams.Get<AEGP_StreamSuite7>();
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const PF_ParamIndex index = indices[i];
    PF_ParamDef* def = params[index];
    if (def == nullptr) continue;
    if (BringStreamToState(streamSuite, dynamicSuite, effect, index, wanted[i] != 0, *def)) {
      updateUi.PF_UpdateParamUI(in_data->effect_ref, index, def);
    }
  }
}

PF_Err UserChangedParam(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], void* extra) {
  const auto* changed = static_cast<const PF_UserChangedParamExtra*>(extra);
  RunVisibilityCommand(in_data, params, changed != nullptr && changed->param_index == kParamMapType);
  return PF_Err_NONE;
}

PF_Err UpdateParamsUI(PF_InData* in_data, PF_OutData*, PF_ParamDef* params[], PF_LayerDef*) {
  RunVisibilityCommand(in_data, params, true);
  return PF_Err_NONE;
}

}  // namespace Orvane::Lumisk
