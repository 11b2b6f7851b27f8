#pragma once

namespace Orvane::Lumisk {

// The blur-map program is joined from three pieces: the head (declarations,
// the generators, and main up to "float result ="), the name of one
// generator, and the tail (the generator's argument list and the output).
// The head's lines end in CR LF; the tail's are joined by LF with no final
// line end.
extern const char* const BlurMapFragmentHead;
extern const char* const BlurMapFragmentTail;

// Generator function of a map type: 1 "linearGradient2", 2 "linearGradient3",
// 3 "circleColor", 4 "squareColor".
struct BlurMapGeneratorName {
  int mapType;
  const char* name;
};
extern const BlurMapGeneratorName BlurMapGeneratorNames[4];

// The generator name of a map type, or nullptr for a type without one.
const char* FindBlurMapGenerator(int mapType);

}  // namespace Orvane::Lumisk
