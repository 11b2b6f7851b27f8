#include "render/shaders/BokehFragmentSources.h"

#include <string>

namespace Orvane::Lumisk {
namespace {

// Each program is the shared declarations, the shape's half-width rule and
// the shared gather, joined once at load (nothing reads them before a render).
const char* const GatherHead = R"glsl(#version 330
in vec2 uv;
uniform sampler2D t0;
uniform sampler2D t1;
uniform sampler2D blurMap;
uniform vec2 jfMapSize;
uniform float focalDistance;
uniform float invertValue;
uniform float blurAmount;
uniform float enableBlurMap;
uniform float showBlurMap;
uniform float JDStep;
out vec4 colourOut;

const vec3 W = vec3(0.2125, 0.7154, 0.0721);

// Below this radius (grid cells) the fade weight R / 10 is under 1e-7, lost
// against the sharp value in single precision: the sharp pixel is the answer,
// and no average (nor 0 / 0 in the half-width rules) is formed.
const float minRadius = 1e-6;

float colorWeight(vec4 c)
{
    return dot(c.rgb, W) * c.a;
}
)glsl";

const char* const GatherBody = R"glsl(
// "t1" texel k holds the sum of (grid value - 0.5) over cells 0 to k, so the
// row's running sum at cell boundary x sits at texel centre x - 0.5, where
// the linear filter gives the exact sum of any span as the difference of its
// two ends. Left of the first texel centre the running sum falls linearly to
// the zero at boundary 0, which the texture leaves out (the factor below);
// beyond the row's end the clamp to edge holds the whole row's sum.
// textureLod: these samples run in a branch that differs between fragments,
// where implicit derivatives are undefined; the texture has one level.
vec4 rowSum(float x, float y)
{
    return textureLod(t1, vec2((x - 0.5) / jfMapSize.x, y), 0.0) * clamp(x, 0.0, 1.0);
}

vec4 blurMax(vec2 p, float R)
{
    float pwy = 1.0 / jfMapSize.y;
    int n = int(R);
    vec4 c = vec4(0.0);
    float cw = 0.0;
    for (int i = -n; i <= n; ++i) {
        float w = halfWidth(float(i), R);
        float owl = max(0.0, w - p.x);
        float owr = max(0.0, p.x - jfMapSize.x + w);
        cw = cw + 2.0 * w - owl - owr;
        float y = (p.y + float(i)) * pwy;
        c = c + rowSum(p.x + w, y) - rowSum(p.x - w, y);
    }
    return c / cw;
}

void main()
{
    float m = colorWeight(texture(blurMap, uv).gbar);
    float s = abs(mix(1.0, mix(m, 1.0 - m, invertValue), enableBlurMap) - focalDistance);
    float R = blurAmount * s / JDStep;
    vec4 sharp = texture(t0, uv).gbar;
    if (R < minRadius) {
        colourOut = sharp;
    } else {
        vec4 b = blurMax(gl_FragCoord.xy / JDStep, R) + 0.5;
        colourOut = mix(sharp, clamp(b, 0.0, 1.0), clamp(R / 10.0, 0.0, 1.0));
    }
    colourOut = mix(colourOut, vec4(s, s, s, 1.0), showBlurMap);
}
)glsl";

const std::string CircularSource = std::string(GatherHead) + R"glsl(
float halfWidth(float i, float R)
{
    return sqrt(abs((1.0 - (1.0 / (R * R)) * i * i) * (R * R)));
}
)glsl" + GatherBody;

const std::string HexagonSource = std::string(GatherHead) + R"glsl(
float halfWidth(float i, float R)
{
    return 0.866025 * min(1.0, (1.0 - abs(i / R)) / 0.5) * R;
}
)glsl" + GatherBody;

const std::string PentagonSource = std::string(GatherHead) + R"glsl(
float halfWidth(float i, float R)
{
    float x = -i / R;
    float f1 = 0.8090169943749381 * (1.0 - x) / 0.587785252292486;
    float f2 = 0.3090169943749927 * (-2.618 - x) / -0.9510565162951389;
    float f3 = step(-0.8090169943749224, x);
    return min(f1, f2) * R * f3;
}
)glsl" + GatherBody;

}  // namespace

const char* const BokehCircularFragmentSource = CircularSource.c_str();
const char* const BokehHexagonFragmentSource = HexagonSource.c_str();
const char* const BokehPentagonFragmentSource = PentagonSource.c_str();

}  // namespace Orvane::Lumisk
