#include "gl/CopyPassSources.h"

namespace Orvane::Lumisk {

const char* const CopyVertexSource = R"(#version 330
in vec3 position;
in vec2 input_uv;
out vec2 uv;
void main() {
    uv = input_uv;
    gl_Position = vec4(position, 1.0);
}
)";

// multiplier16bit is declared for the caller's sake but not read, so the
// output never depends on it.
const char* const CopyArgbFragmentSource = R"(#version 330
in vec2 uv;
out vec4 colourOut;
uniform sampler2D videoTexture;
uniform float multiplier16bit;
void main() {
    colourOut = texture(videoTexture, uv);
    colourOut = colourOut.argb;
}
)";

const char* const CopyBgarFragmentSource = R"(#version 330
in vec2 uv;
out vec4 colourOut;
uniform sampler2D videoTexture;
uniform float multiplier16bit;
void main() {
    colourOut = texture(videoTexture, uv);
    colourOut = colourOut.bgar;
}
)";

}  // namespace Orvane::Lumisk
