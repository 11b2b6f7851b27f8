// The effect's parameters as the host keeps them: index 0 is the input
// layer; indices from 1 are the definitions the module added with add_param,
// deep-copied with their texts, each with values that the caller sets (for all times
// or for one time) and with the HIDDEN flag of its stream.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::HeadlessHost {

// Bits a real host keeps in every effect stream's dynamic flags besides
// HIDDEN (the eyeball, and one the module has no name for), so that a rule
// that reads or writes more than HIDDEN shows.
constexpr AEGP_DynStreamFlags kOtherStreamFlags = AEGP_DynStreamFlag_ACTIVE_EYEBALL | 0x400;

struct HostParam {
  // The definition as the module added it. Its text pointers point into the
  // copies below, never into the module.
  PF_ParamDef definition{};
  // The host's live definition, handed to the module in the params array of
  // every command with the value at that command's time. The module may change
  // its flags in place (and the host keeps that), never `definition`.
  PF_ParamDef live{};
  PF_ParamIndex addIndex = -1;  // the index argument of add_param
  // Deep copies of the texts the module passed.
  std::string name;
  std::string popupItems;                     // u.pd.u.namesptr of a popup
  std::string checkboxLabel;                  // u.bd.u.nameptr of a checkbox
  const A_char* moduleTextPointer = nullptr;  // the module's own pointer for those texts
  AEGP_DynStreamFlags streamFlags = 0;        // kOtherStreamFlags, and HIDDEN for PF_PUI_INVISIBLE
  // Values: one for all times and/or one per time (what_time of the check-out).
  std::optional<PF_ParamDefUnion> value;
  std::map<A_long, PF_ParamDefUnion> timedValues;
  // A layer parameter's image record (a copy), or none for "no layer chosen".
  std::optional<PF_EffectWorld> layer;
};

class ParameterStore {
public:
  ParameterStore();

  // Count including the input layer at index 0.
  PF_ParamIndex Count() const { return static_cast<PF_ParamIndex>(params.size()); }
  bool Has(PF_ParamIndex index) const { return index >= 0 && index < Count(); }
  // Throws std::out_of_range for an unknown index.
  HostParam& At(PF_ParamIndex index);
  const HostParam& At(PF_ParamIndex index) const;
  const PF_ParamDef& Definition(PF_ParamIndex index) const { return At(index).definition; }

  // Deep-copies one definition as the next index; returns that index.
  PF_ParamIndex Add(PF_ParamIndex addIndex, const PF_ParamDef& definition);
  // Forgets every added definition (the input layer stays).
  void Clear();

  // The value that a check-out at time gives (definition fields with the value
  // union): the value for that time, else the one for all times, else the
  // definition's. A point without a value comes back in pixels of the input
  // layer (the definition holds percent). A layer parameter gives its world.
  PF_ParamDef ValueAt(PF_ParamIndex index, A_long time) const;

  // Typed setters; without a time the value holds at every time.
  void SetPopup(PF_ParamIndex index, PF_ParamValue value, std::optional<A_long> time = std::nullopt);
  void SetSlider(PF_ParamIndex index, PF_ParamValue value, std::optional<A_long> time = std::nullopt);
  void SetFixedSlider(PF_ParamIndex index, PF_Fixed value, std::optional<A_long> time = std::nullopt);
  void SetFloatSlider(PF_ParamIndex index, A_FpLong value, std::optional<A_long> time = std::nullopt);
  void SetAngle(PF_ParamIndex index, PF_Fixed degrees, std::optional<A_long> time = std::nullopt);
  void SetCheckbox(PF_ParamIndex index, bool on, std::optional<A_long> time = std::nullopt);
  // Layer pixels in 16.16 fixed point.
  void SetPoint(PF_ParamIndex index, PF_Fixed x, PF_Fixed y, std::optional<A_long> time = std::nullopt);
  // Any value union, e.g. for a type the setters above do not cover.
  void SetValue(PF_ParamIndex index, const PF_ParamDefUnion& value, std::optional<A_long> time = std::nullopt);
  // The image of a layer parameter (null: no layer chosen). The record is
  // copied, so a world that has gone does not break later commands; its
  // pixels are not: keep the world alive while the module may read them.
  void SetLayer(PF_ParamIndex index, const PF_EffectWorld* world);

  // The input layer, index 0, copied as SetLayer copies.
  void SetInputLayer(const PF_EffectWorld* world) { SetLayer(0, world); }
  const PF_EffectWorld* InputLayer() const { return params[0]->layer ? &*params[0]->layer : nullptr; }

  bool Hidden(PF_ParamIndex index) const;
  void SetHidden(PF_ParamIndex index, bool hidden);

  // The params array handed to the module: every definition's value brought to
  // time first. The pointers stay valid until the next Add or Clear.
  PF_ParamDef** Array(A_long time);

private:
  PF_ParamDefUnion BaseValue(const HostParam& param, A_long time) const;
  template <typename ChangeFn>
  void Change(PF_ParamIndex index, std::optional<A_long> time, ChangeFn change);

  std::vector<std::unique_ptr<HostParam>> params;
  std::vector<PF_ParamDef*> array;
};

}  // namespace Orvane::Lumisk::HeadlessHost
