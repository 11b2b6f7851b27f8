// The range a definition of the parameter table lets a value take, so that a
// value the host hands over beyond it (or no number at all) never reaches the
// renderer: a blur strength of 40000 would keep the GPU in one draw long
// enough for the driver's watchdog to reset the display.
#pragma once

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

struct ValidRange {
  double min;
  double max;

  // value within [min, max]; false for NaN, which the caller keeps out.
  bool Clamp(double* value) const;
};

// valid_min and valid_max of a slider definition (whole units for a fixed
// slider); the 0-based choices of a popup. Empty (min > max) for any other row.
ValidRange ValidRangeOf(PF_ParamIndex index);

}  // namespace Orvane::Lumisk
