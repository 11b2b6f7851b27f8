#pragma once

namespace Orvane::Lumisk {

// Prepare draw of the row prefix sums: each grid cell is the mean of its
// block of source pixels, with the host's A, R, G, B put into R, G, B, A
// order and 0.5 subtracted; the scan then yields inclusive sums.
extern const char* const PrefixPrepareFragmentSource;

// One level of the Hillis-Steele scan along x: adds the texel 2^level columns
// to the left; the draw whose "level" equals "maxLevel" copies.
extern const char* const PrefixScanFragmentSource;

}  // namespace Orvane::Lumisk
