#pragma once

namespace Orvane::Lumisk {

// Prepare draw of the row prefix sums: samples the source on the grid, puts
// the host's A, R, G, B into R, G, B, A order and subtracts 0.5. Column 0 of
// its target is a zero column, so that the scan yields exclusive sums.
extern const char* const PrefixPrepareFragmentSource;

// One level of the Hillis-Steele scan along x: adds the texel 2^level columns
// to the left; the draw whose "level" equals "maxLevel" copies.
extern const char* const PrefixScanFragmentSource;

}  // namespace Orvane::Lumisk
