#include "bench/DiscGatherBaseline.h"

#include <chrono>

#include <glbinding/gl33core/gl.h>

#include "gl/OpenglShader.h"

namespace Orvane::Lumisk::Bench {
namespace {

// One triangle that covers the viewport, from the vertex index alone.
const char* const kVertexSource = R"glsl(#version 330
void main() {
    vec2 corner = vec2(float((gl_VertexID & 1) << 2) - 1.0, float((gl_VertexID & 2) << 1) - 1.0);
    gl_Position = vec4(corner, 0.0, 1.0);
}
)glsl";

const char* const kFragmentSource = R"glsl(#version 330
uniform sampler2D source;
uniform int radius;
out vec4 colourOut;
void main() {
    ivec2 size = textureSize(source, 0);
    ivec2 centre = ivec2(gl_FragCoord.xy);
    vec4 sum = vec4(0.0);
    float count = 0.0;
    for (int dy = -radius; dy <= radius; ++dy) {
        int reach = int(floor(sqrt(float(radius * radius - dy * dy))));
        for (int dx = -reach; dx <= reach; ++dx) {
            sum += texelFetch(source, clamp(centre + ivec2(dx, dy), ivec2(0), size - 1), 0);
            count += 1.0;
        }
    }
    colourOut = sum / count;
}
)glsl";

}  // namespace

DiscGatherBaseline::DiscGatherBaseline() : program(std::make_unique<OpenglShader>(kVertexSource, kFragmentSource)) {
  gl::glGenVertexArrays(1, &vertexArray);
}

DiscGatherBaseline::~DiscGatherBaseline() {
  gl::glDeleteVertexArrays(1, &vertexArray);
}

double DiscGatherBaseline::Run(gl::GLuint source, int width, int height, int radius, int x, int y, int w, int h) {
  program->Use();
  program->SetTexture("source", gl::GL_TEXTURE_2D, source, 0);
  program->SetUniform1i("radius", radius);
  gl::glViewport(0, 0, width, height);
  gl::glEnable(gl::GL_SCISSOR_TEST);
  gl::glScissor(x, y, w, h);
  gl::glBindVertexArray(vertexArray);
  // Timed on the clock around a finished draw: a software rasteriser may run
  // the draw after a timer query has already ended.
  gl::glFinish();
  const auto start = std::chrono::steady_clock::now();
  gl::glDrawArrays(gl::GL_TRIANGLES, 0, 3);
  gl::glFinish();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  gl::glBindVertexArray(0);
  gl::glDisable(gl::GL_SCISSOR_TEST);
  return ms;
}

}  // namespace Orvane::Lumisk::Bench
