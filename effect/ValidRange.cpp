#include "effect/ValidRange.h"

#include <cmath>
#include <type_traits>
#include <variant>

#include "effect/ParamTable.h"

namespace Orvane::Lumisk {
namespace {

constexpr ValidRange kNoRange{1.0, 0.0};

ValidRange RangeOfKind(const ParamKind& kind) {
  return std::visit(
      [](const auto& row) -> ValidRange {
        using Row = std::decay_t<decltype(row)>;
        if constexpr (std::is_same_v<Row, SliderRow> || std::is_same_v<Row, FixedSliderRow> ||
                      std::is_same_v<Row, FloatSliderRow>) {
          return {static_cast<double>(row.validMin), static_cast<double>(row.validMax)};
        } else if constexpr (std::is_same_v<Row, PopupRow>) {
          return {0.0, static_cast<double>(row.numChoices - 1)};
        } else {
          return kNoRange;
        }
      },
      kind);
}

}  // namespace

bool ValidRange::Clamp(double* value) const {
  if (std::isnan(*value)) return false;
  *value = std::fmin(std::fmax(*value, min), max);
  return true;
}

ValidRange ValidRangeOf(PF_ParamIndex index) {
  for (const ParamRow& row : ParamRows()) {
    if (row.index == index) return RangeOfKind(row.kind);
  }
  return kNoRange;
}

}  // namespace Orvane::Lumisk
