#pragma once
// Drives the renderer through the render target the way the render command
// does, and compares read-backs with the CPU reference.

#include <memory>
#include <string>
#include <vector>

#include <glbinding/gl/types.h>

#include "reference/CpuReference.h"
#include "render/BlurRenderer.h"
#include "tests/support/GlTestContext.h"

namespace Orvane::Lumisk::Testing {

// A float texture holding the image's four values per pixel as they are
// (host frames: A, R, G, B in R, G, B, A). The caller deletes it.
gl::GLuint UploadImage(const Reference::Image& image);

// Writes the reference settings into the renderer, as the parameter
// transfer does, including SetLensShape.
void ApplySettings(BlurRenderer& renderer, const Reference::ReferenceSettings& settings);

// One render: render target set up to the input's size, a colour layer
// pushed, the input uploaded, the custom map (when the settings name one)
// uploaded as blurMapTexture, BlurRenderer::Render, Finish, and the output
// read back as bytes in host order.
Reference::Image RenderWithGl(BlurRenderer& renderer, const Reference::Image& input,
                              const Reference::ReferenceSettings& settings);

// Largest difference in 8-bit levels between two images (of the same size),
// and where it is, for the failure message.
struct LevelDifference {
  int levels = 0;
  int x = 0;
  int y = 0;
  int channel = 0;
  std::string Describe() const;
};
LevelDifference MaxLevelDifference(const Reference::Image& a, const Reference::Image& b);

// Test images in host order (A, R, G, B).
Reference::Image UniformImage(int width, int height, float value);
// Random levels from low to high (inclusive) in R, G and B, alpha 255.
Reference::Image NoiseImage(int width, int height, unsigned seed, int low = 0, int high = 255);

}  // namespace Orvane::Lumisk::Testing

namespace Orvane::Lumisk::Testing {

// The RGBA floats of a texture (row 0 first), read through a temporary
// framebuffer, which is deleted again; framebuffer 0 is bound afterwards.
std::vector<float> ReadTexture(gl::GLuint texture, int width, int height);

// A test with a current GL context, one renderer, and the render target
// released at the end (its GL objects belong to this test's context).
class RendererTest : public GlContextTest {
protected:
  void TearDown() override;

  Reference::Image Render(const Reference::Image& input, const Reference::ReferenceSettings& settings) {
    return RenderWithGl(*renderer, input, settings);
  }

  std::unique_ptr<BlurRenderer> renderer = std::make_unique<BlurRenderer>();
};

}  // namespace Orvane::Lumisk::Testing
