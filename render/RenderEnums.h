#pragma once

#include <cstdint>

namespace Orvane::Lumisk {

// The 0-based values of the effect's popups (the host counts them from 1).

// "Type" in the "Blur Map" group.
enum BokehMapType : int32_t {
  BokehMapNone = 0,
  BokehMapLinear2 = 1,
  BokehMapLinear3 = 2,
  BokehMapCircle = 3,
  BokehMapSquare = 4,
  BokehMapCustomLayer = 5,
};

// "Lens Shape": every value other than 0 and 1 builds the pentagon.
enum LensShape : int32_t {
  LensCircular = 0,
  LensHexagon = 1,
  LensPentagon = 2,
};

// "Quality": the grid step of the computation is the value plus 1.
enum BlurQuality : int32_t {
  QualityHigh = 0,
  QualityLow = 1,
};

// True for the map types that the blur-map pass draws itself.
constexpr bool IsGeneratedMapType(int32_t mapType) {
  return mapType >= BokehMapLinear2 && mapType <= BokehMapSquare;
}

}  // namespace Orvane::Lumisk
