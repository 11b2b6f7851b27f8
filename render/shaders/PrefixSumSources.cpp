#include "render/shaders/PrefixSumSources.h"

namespace Orvane::Lumisk {

// The target is one column wider than the grid ("viewSize"): texel k + 1
// holds grid cell k, texel 0 holds zero. After the scan texel k is the sum of
// cells 0 to k - 1, which puts the cumulative sum at cell boundary x at texel
// centre x + 0.5, and linear filtering then gives the exact sum of any span.
// The source is sampled with textureLod because column 0 has left the
// shader by then, and implicit derivatives are undefined after such a branch.
const char* const PrefixPrepareFragmentSource = R"glsl(#version 330
in vec2 uv;
uniform sampler2D t0;
uniform vec2 viewSize;
uniform float jfstep;
out vec4 colourOut;

void main()
{
    float cell = gl_FragCoord.x - 1.0;
    if (cell < 0.0) {
        colourOut = vec4(0.0);
        return;
    }
    vec2 cellUv = vec2(cell / viewSize.x, gl_FragCoord.y / viewSize.y);
    colourOut = textureLod(t0, cellUv, 0.0).gbar - 0.5;
}
)glsl";

const char* const PrefixScanFragmentSource = R"glsl(#version 330
in vec2 uv;
uniform sampler2D t0;
uniform vec2 viewSize;
uniform int level;
uniform int maxLevel;
out vec4 colourOut;

void main()
{
    ivec2 fc = ivec2(gl_FragCoord.xy);
    vec4 d = texelFetch(t0, fc, 0);
    if (level < maxLevel) {
        int x = fc.x - (1 << level);
        if (x >= 0) {
            d += texelFetch(t0, ivec2(x, fc.y), 0);
        }
    }
    colourOut = d;
}
)glsl";

}  // namespace Orvane::Lumisk
