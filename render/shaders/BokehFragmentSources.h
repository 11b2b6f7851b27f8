#pragma once

namespace Orvane::Lumisk {

// Lens gather programs, one per lens shape. Each output pixel is the mean of
// the grid over a lens-shaped aperture, summed row by row from two samples of
// the row prefix sums ("t1"); below a radius of 10 cells the result
// fades towards the sharp pixel. The three differ only in the half-width of
// an aperture row.
extern const char* const BokehCircularFragmentSource;
extern const char* const BokehHexagonFragmentSource;
extern const char* const BokehPentagonFragmentSource;

}  // namespace Orvane::Lumisk
