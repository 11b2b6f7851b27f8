#include "host/ParameterStore.h"

#include <cstring>
#include <stdexcept>

namespace Orvane::Lumisk::HeadlessHost {

namespace {

// A point's definition holds percent of the layer; checked out, it is in
// layer pixels (both 16.16).
PF_Fixed PercentToPixels(PF_Fixed percent, A_long extent) {
  return static_cast<PF_Fixed>(static_cast<int64_t>(percent) * extent / 100);
}

}  // namespace

ParameterStore::ParameterStore() {
  Clear();
}

HostParam& ParameterStore::At(PF_ParamIndex index) {
  if (!Has(index)) {
    throw std::out_of_range("no parameter at index " + std::to_string(index));
  }
  return *params[static_cast<std::size_t>(index)];
}

const HostParam& ParameterStore::At(PF_ParamIndex index) const {
  if (!Has(index)) {
    throw std::out_of_range("no parameter at index " + std::to_string(index));
  }
  return *params[static_cast<std::size_t>(index)];
}

PF_ParamIndex ParameterStore::Add(PF_ParamIndex addIndex, const PF_ParamDef& definition) {
  auto param = std::make_unique<HostParam>();
  param->addIndex = addIndex;
  param->definition = definition;
  param->name.assign(definition.name, strnlen(definition.name, sizeof definition.name));
  // Terminate the host's copy of the name whatever the module wrote.
  param->definition.name[sizeof param->definition.name - 1] = '\0';
  if (definition.param_type == PF_Param_POPUP && definition.u.pd.u.namesptr != nullptr) {
    param->moduleTextPointer = definition.u.pd.u.namesptr;
    param->popupItems = definition.u.pd.u.namesptr;
    param->definition.u.pd.u.namesptr = param->popupItems.c_str();
  }
  if (definition.param_type == PF_Param_CHECKBOX && definition.u.bd.u.nameptr != nullptr) {
    param->moduleTextPointer = definition.u.bd.u.nameptr;
    param->checkboxLabel = definition.u.bd.u.nameptr;
    param->definition.u.bd.u.nameptr = param->checkboxLabel.c_str();
  }
  param->streamFlags =
      kOtherStreamFlags | ((definition.ui_flags & PF_PUI_INVISIBLE) != 0 ? AEGP_DynStreamFlag_HIDDEN : 0);
  param->live = param->definition;
  params.push_back(std::move(param));
  return Count() - 1;
}

void ParameterStore::Clear() {
  const std::optional<PF_EffectWorld> input = params.empty() ? std::nullopt : params[0]->layer;
  params.clear();
  auto layer = std::make_unique<HostParam>();
  layer->definition.param_type = PF_Param_LAYER;
  layer->live = layer->definition;
  layer->layer = input;
  params.push_back(std::move(layer));
}

PF_ParamDefUnion ParameterStore::BaseValue(const HostParam& param, A_long time) const {
  const auto timed = param.timedValues.find(time);
  if (timed != param.timedValues.end()) {
    return timed->second;
  }
  if (param.value) {
    return *param.value;
  }
  PF_ParamDefUnion value = param.definition.u;
  if (param.definition.param_type == PF_Param_POINT) {
    const PF_EffectWorld* input = InputLayer();
    value.td.x_value = PercentToPixels(value.td.x_value, input != nullptr ? input->width : 0);
    value.td.y_value = PercentToPixels(value.td.y_value, input != nullptr ? input->height : 0);
  }
  return value;
}

PF_ParamDef ParameterStore::ValueAt(PF_ParamIndex index, A_long time) const {
  const HostParam& param = At(index);
  PF_ParamDef result = param.live;
  if (param.definition.param_type == PF_Param_LAYER) {
    const A_long dephault = param.definition.u.ld.dephault;
    std::memset(&result.u, 0, sizeof result.u);
    if (param.layer) {
      result.u.ld = *param.layer;
    }
    result.u.ld.dephault = dephault;
    return result;
  }
  result.u = BaseValue(param, time);
  return result;
}

template <typename ChangeFn>
void ParameterStore::Change(PF_ParamIndex index, std::optional<A_long> time, ChangeFn change) {
  HostParam& param = At(index);
  PF_ParamDefUnion value = param.value ? *param.value : param.definition.u;
  if (time) {
    const auto timed = param.timedValues.find(*time);
    if (timed != param.timedValues.end()) {
      value = timed->second;
    }
  }
  change(value);
  if (time) {
    param.timedValues[*time] = value;
  } else {
    param.value = value;
  }
}

void ParameterStore::SetPopup(PF_ParamIndex index, PF_ParamValue value, std::optional<A_long> time) {
  Change(index, time, [&](PF_ParamDefUnion& u) { u.pd.value = value; });
}
void ParameterStore::SetSlider(PF_ParamIndex index, PF_ParamValue value, std::optional<A_long> time) {
  Change(index, time, [&](PF_ParamDefUnion& u) { u.sd.value = value; });
}
void ParameterStore::SetFixedSlider(PF_ParamIndex index, PF_Fixed value, std::optional<A_long> time) {
  Change(index, time, [&](PF_ParamDefUnion& u) { u.fd.value = value; });
}
void ParameterStore::SetFloatSlider(PF_ParamIndex index, A_FpLong value, std::optional<A_long> time) {
  Change(index, time, [&](PF_ParamDefUnion& u) { u.fs_d.value = value; });
}
void ParameterStore::SetAngle(PF_ParamIndex index, PF_Fixed degrees, std::optional<A_long> time) {
  Change(index, time, [&](PF_ParamDefUnion& u) { u.ad.value = degrees; });
}
void ParameterStore::SetCheckbox(PF_ParamIndex index, bool on, std::optional<A_long> time) {
  Change(index, time, [&](PF_ParamDefUnion& u) { u.bd.value = on ? 1 : 0; });
}
void ParameterStore::SetPoint(PF_ParamIndex index, PF_Fixed x, PF_Fixed y, std::optional<A_long> time) {
  Change(index, time, [&](PF_ParamDefUnion& u) {
    u.td.x_value = x;
    u.td.y_value = y;
  });
}
void ParameterStore::SetValue(PF_ParamIndex index, const PF_ParamDefUnion& value, std::optional<A_long> time) {
  Change(index, time, [&](PF_ParamDefUnion& u) { u = value; });
}

void ParameterStore::SetLayer(PF_ParamIndex index, const PF_EffectWorld* world) {
  HostParam& param = At(index);
  if (world != nullptr) {
    param.layer = *world;
  } else {
    param.layer.reset();
  }
}

bool ParameterStore::Hidden(PF_ParamIndex index) const {
  return (At(index).streamFlags & AEGP_DynStreamFlag_HIDDEN) != 0;
}

void ParameterStore::SetHidden(PF_ParamIndex index, bool hidden) {
  HostParam& param = At(index);
  param.streamFlags =
      hidden ? (param.streamFlags | AEGP_DynStreamFlag_HIDDEN) : (param.streamFlags & ~AEGP_DynStreamFlag_HIDDEN);
}

PF_ParamDef** ParameterStore::Array(A_long time) {
  array.clear();
  for (PF_ParamIndex index = 0; index < Count(); ++index) {
    HostParam& param = At(index);
    param.live.u = ValueAt(index, time).u;
    array.push_back(&param.live);
  }
  return array.data();
}

}  // namespace Orvane::Lumisk::HeadlessHost
