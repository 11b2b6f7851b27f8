#include "effect/ParamsSetup.h"

#include <cstring>
#include <variant>

#include "effect/Cp936Prefix.h"
#include "effect/ModuleGlobals.h"
#include "effect/ParamTable.h"

namespace Orvane::Lumisk {
namespace {

void CopyName(PF_InData* in_data, const char* text, PF_ParamDef& def) {
  char bounded[sizeof def.name] = {};
  std::memcpy(bounded, text, ParamNameLength(text));
  in_data->utils->ansi.strcpy(def.name, bounded);
}

PF_Fixed WholeToFixed(A_long whole) {
  return static_cast<PF_Fixed>(whole * 65536);
}

// The four bounds every slider kind has, in the host's units of that kind.
template <typename SliderDef, typename Row, typename Convert>
void FillBounds(SliderDef& slider, const Row& row, Convert convert) {
  slider.valid_min = convert(row.validMin);
  slider.valid_max = convert(row.validMax);
  slider.slider_min = convert(row.sliderMin);
  slider.slider_max = convert(row.sliderMax);
}

template <typename T>
T Same(T value) {
  return value;
}

struct KindFiller {
  PF_ParamDef& def;

  void operator()(const PopupRow& row) const {
    def.u.pd.num_choices = row.numChoices;
    def.u.pd.dephault = row.dephault;
    def.u.pd.value = row.dephault;
    // Handed over as it is, not copied: it points into the string table,
    // which lives until global set-down.
    def.u.pd.u.namesptr = LocalizedText(row.itemsKey);
  }
  void operator()(const SliderRow& row) const {
    PF_SliderDef& sd = def.u.sd;
    FillBounds(sd, row, Same<PF_ParamValue>);
    sd.dephault = row.dephault;
    sd.value = row.dephault;
  }
  void operator()(const FixedSliderRow& row) const {
    PF_FixedSliderDef& fd = def.u.fd;
    FillBounds(fd, row, WholeToFixed);
    fd.dephault = WholeToFixed(row.dephault);
    fd.value = fd.dephault;
    fd.precision = row.precision;
    fd.display_flags = row.displayFlags;
  }
  void operator()(const FloatSliderRow& row) const {
    PF_FloatSliderDef& fs = def.u.fs_d;
    FillBounds(fs, row, Same<A_FpShort>);
    fs.value = row.dephault;
    fs.dephault = static_cast<A_FpShort>(row.dephault);
    fs.precision = row.precision;
    fs.display_flags = row.displayFlags;
    fs.curve_tolerance = row.curveTolerance;
  }
  void operator()(const CheckboxRow& row) const {
    def.u.bd.value = row.dephault;
    def.u.bd.dephault = row.dephault;
    def.u.bd.u.nameptr = row.labelKey != nullptr ? LocalizedText(row.labelKey) : "";
  }
  void operator()(const PointRow& row) const {
    // The definition gives percent of the layer; the host answers check-outs in layer pixels.
    PF_PointDef& td = def.u.td;
    td.x_value = td.x_dephault = WholeToFixed(row.xPercent);
    td.y_value = td.y_dephault = WholeToFixed(row.yPercent);
    td.restrict_bounds = row.restrictBounds;
  }
  void operator()(const AngleRow& row) const {
    def.u.ad.value = WholeToFixed(row.degrees);
    def.u.ad.dephault = def.u.ad.value;
  }
  void operator()(const LayerRow& row) const { def.u.ld.dephault = row.dephault; }
  void operator()(const GroupStartRow&) const {}
  void operator()(const GroupEndRow&) const {}
};

void FillDefinition(PF_InData* in_data, const ParamRow& row, PF_ParamDef& def) {
  std::memset(&def, 0, sizeof def);
  def.param_type = std::visit([](const auto& kind) { return kind.kType; }, row.kind);
  def.ui_flags = row.uiFlags;
  def.flags = row.flags;
  switch (row.name.kind) {
    case ParamNameKind::LookedUp:
      CopyName(in_data, LocalizedText(row.name.key), def);
      break;
    case ParamNameKind::Empty:
      CopyName(in_data, "", def);
      break;
    case ParamNameKind::None:
      break;
  }
  std::visit(KindFiller{def}, row.kind);
  def.uu.id = row.diskId;
}

}  // namespace

std::size_t ParamNameLength(const char* text) {
  return WholeCharacterPrefix(text, PF_MAX_PARAM_NAME_LEN);
}

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
  // Everything the set-up writes through; without one of them it is a bad call, not a crash.
  if (in_data == nullptr || out_data == nullptr || in_data->utils == nullptr ||
      in_data->utils->ansi.strcpy == nullptr || in_data->inter.add_param == nullptr)
    return PF_Err_BAD_CALLBACK_PARAM;
  out_data->num_params = kParamCount;
  PF_ParamDef def;
  for (const ParamRow& row : ParamRows()) {
    FillDefinition(in_data, row, def);
    const PF_Err err = in_data->inter.add_param(in_data->effect_ref, -1, &def);
    if (err != PF_Err_NONE) return err;
  }
  return PF_Err_NONE;
}

}  // namespace Orvane::Lumisk
