#include "render/shaders/PrefixSumSources.h"

namespace Orvane::Lumisk {

// Grid cell c covers source pixels c * jfstep to c * jfstep + jfstep - 1 in
// each direction. Sampling the source's linear filter at the centre of that
// block gives the pixel itself at step 1 and the mean of the 2 x 2 block at
// step 2; the last block of an odd size is centred on the frame's outer edge,
// where the clamp to edge takes the edge pixel for the missing one.
const char* const PrefixPrepareFragmentSource = R"glsl(#version 330
in vec2 uv;
uniform sampler2D t0;
uniform vec2 viewSize;
uniform float jfstep;
out vec4 colourOut;

void main()
{
    vec2 blockCentre = floor(gl_FragCoord.xy) * jfstep + 0.5 * jfstep;
    colourOut = textureLod(t0, blockCentre / vec2(textureSize(t0, 0)), 0.0).gbar - 0.5;
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
