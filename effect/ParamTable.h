// The effect's 16 parameter definitions as one table of rows. Host indices
// are what every reader addresses; disk IDs are what saved projects hold, so
// neither numbering may ever change.
#pragma once

#include <cstddef>
#include <variant>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// Host indices: 0 is the input layer the host supplies, 1..16 are added in
// this order by ParamsSetup.
enum ParamIndex : PF_ParamIndex {
  kParamInputLayer = 0,
  kParamLensShape = 1,
  kParamBlurStrength = 2,
  kParamBlurMapStart = 3,
  kParamShow = 4,
  kParamMapType = 5,
  kParamCustomLayer = 6,
  kParamFeather = 7,
  kParamCenter = 8,
  kParamScaleX = 9,
  kParamScaleY = 10,
  kParamRotation = 11,
  kParamFocalDistance = 12,
  kParamInvert = 13,
  kParamBlurMapEnd = 14,
  kParamQuality = 15,
  kParamGamma = 16,
};

// The input layer and the 16 definitions.
constexpr A_long kParamCount = 17;

// How a definition gets its name.
enum class ParamNameKind {
  LookedUp,  // the string table's text for the key
  Empty,     // an empty text is copied (the checkbox carries its text as label)
  None,      // nothing is copied: the name stays zero
};

struct ParamName {
  ParamNameKind kind;
  const char* key;  // LookedUp only
};

constexpr ParamName Named(const char* key) {
  return {ParamNameKind::LookedUp, key};
}
constexpr ParamName kEmptyName{ParamNameKind::Empty, nullptr};
constexpr ParamName kNoName{ParamNameKind::None, nullptr};

// Type-specific parts of a row. Values are in the units the user sees; the
// set-up converts them to the host's fixed point where the host wants it.
struct PopupRow {
  static constexpr PF_ParamType kType = PF_Param_POPUP;
  A_short numChoices;
  const char* itemsKey;  // string-table key of the "|"-separated item list
  A_short dephault;      // 1-based choice
};

struct SliderRow {
  static constexpr PF_ParamType kType = PF_Param_SLIDER;
  PF_ParamValue validMin, validMax, sliderMin, sliderMax, dephault;
};

struct FixedSliderRow {
  static constexpr PF_ParamType kType = PF_Param_FIX_SLIDER;
  A_long validMin, validMax, sliderMin, sliderMax, dephault;  // whole units
  A_short precision;
  PF_ValueDisplayFlags displayFlags;
};

struct FloatSliderRow {
  static constexpr PF_ParamType kType = PF_Param_FLOAT_SLIDER;
  A_FpShort validMin, validMax, sliderMin, sliderMax;
  A_FpLong dephault;  // the value is this double; the default its float
  A_short precision;
  PF_ValueDisplayFlags displayFlags;
  A_FpShort curveTolerance;
};

struct CheckboxRow {
  static constexpr PF_ParamType kType = PF_Param_CHECKBOX;
  const char* labelKey;  // null: an empty label
  PF_Boolean dephault;
};

struct PointRow {
  static constexpr PF_ParamType kType = PF_Param_POINT;
  A_long xPercent, yPercent;  // of the layer's width and height
  PF_Boolean restrictBounds;
};

struct AngleRow {
  static constexpr PF_ParamType kType = PF_Param_ANGLE;
  A_long degrees;
};

struct LayerRow {
  static constexpr PF_ParamType kType = PF_Param_LAYER;
  A_long dephault;  // PF_LayerDefault_*
};

struct GroupStartRow {
  static constexpr PF_ParamType kType = PF_Param_GROUP_START;
};

struct GroupEndRow {
  static constexpr PF_ParamType kType = PF_Param_GROUP_END;
};

using ParamKind = std::variant<PopupRow, SliderRow, FixedSliderRow, FloatSliderRow, CheckboxRow, PointRow, AngleRow,
                               LayerRow, GroupStartRow, GroupEndRow>;

struct ParamRow {
  PF_ParamIndex index;
  A_long diskId;
  ParamName name;
  ParamKind kind;
  PF_ParamUIFlags uiFlags;
  PF_ParamFlags flags;
};

struct ParamRowList {
  const ParamRow* rows;
  std::size_t count;
  const ParamRow* begin() const { return rows; }
  const ParamRow* end() const { return rows + count; }
};

// The 16 definitions in host-index order (1..16).
ParamRowList ParamRows();

}  // namespace Orvane::Lumisk
