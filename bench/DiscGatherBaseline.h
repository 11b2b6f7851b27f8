// The baseline the row prefix sums are there to beat: a brute-force
// two-dimensional gather that averages every texel within a disc of the blur
// radius, πR² reads per pixel instead of about 4R.
#pragma once

#include <memory>

#include <glbinding/gl/types.h>

namespace Orvane::Lumisk {
class OpenglShader;
}

namespace Orvane::Lumisk::Bench {

class DiscGatherBaseline {
public:
  DiscGatherBaseline();
  ~DiscGatherBaseline();
  DiscGatherBaseline(const DiscGatherBaseline&) = delete;
  DiscGatherBaseline& operator=(const DiscGatherBaseline&) = delete;

  // Draws the disc average of source (width x height) with the given radius
  // into the framebuffer bound now, restricted to the pixels of the scissor
  // box (x, y, w, h). Returns the milliseconds until the draw has finished.
  double Run(gl::GLuint source, int width, int height, int radius, int x, int y, int w, int h);

private:
  std::unique_ptr<OpenglShader> program;
  gl::GLuint vertexArray = 0;
};

}  // namespace Orvane::Lumisk::Bench
