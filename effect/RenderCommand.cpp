#include "effect/RenderCommand.h"

#include <cstddef>
#include <cstring>

#include <glbinding/gl33core/gl.h>

#include "effect/GlobalRenderer.h"
#include "effect/ParamTransfer.h"
#include "gl/ContextRegistry.h"
#include "gl/HostContextGuard.h"
#include "gl/HostFrameTransfer.h"
#include "gl/RenderTarget.h"
#include "gl/ScopedTexture.h"
#include "gl/Vec2d.h"
#include "render/BlurRenderer.h"

namespace Orvane::Lumisk {
namespace {

// Pops the colour layer a frame pushed when a step throws before the frame's
// layer is gone, so no layer is left on the render target's stack. The layer
// counts as gone only once the stack is below the frame's depth: a Finish that
// throws before it resolves the layer leaves it to this.
class FrameInProgress {
public:
  explicit FrameInProgress(RenderTarget& target) : frameTarget(target), frameDepth(target.ColourLayerCount()) {}
  ~FrameInProgress() {
    if (frameDepth == 0 || frameTarget.ColourLayerCount() < frameDepth) return;
    // Runs while an error unwinds: nothing may be thrown from here.
    try {
      frameTarget.DropTop();
    } catch (...) {
      // Without memory for a framebuffer of this context the layer stays until
      // the next change of size.
    }
  }
  FrameInProgress(const FrameInProgress&) = delete;
  FrameInProgress& operator=(const FrameInProgress&) = delete;

  void Finish(float multiplier) { frameTarget.Finish(multiplier); }

private:
  RenderTarget& frameTarget;
  // The stack's depth with the frame's layer on top.
  const std::size_t frameDepth;
};

// Clears every row of an 8-bit output world (used when there is nothing to draw).
void ClearWorld(PF_EffectWorld* world) {
  if (!world || !world->data || world->width <= 0 || world->height <= 0) return;
  const size_t rowBytes = size_t(world->width) * sizeof(PF_Pixel8);
  if (world->rowbytes < 0 || size_t(world->rowbytes) < rowBytes) return;
  auto* row = reinterpret_cast<unsigned char*>(world->data);
  for (A_long y = 0; y < world->height; ++y, row += world->rowbytes) std::memset(row, 0, rowBytes);
}

}  // namespace

void GlSetup() {
  HostContextGuard guard;
  // A second set-up without a set-down between keeps the root it has.
  if (!RootContext()) CreateRootContext();
  // After a set-down the renderer is made again.
  EnsureGlobalRenderer();
  guard.Restore();
}

void GlSetdown() {
  HostContextGuard guard;
  // Without a root (a set-up that failed, or a second set-down) there is no
  // context to release anything in: nothing is made current and no GL call made.
  AEOpenGLContext* root = RootContext();
  if (!root) return;
  root->MakeCurrent();
  RenderTarget::Instance()->Release();
  DestroyGlobalRenderer();
  DestroyAllContexts();
  guard.Restore();
}

void RenderCommand(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output) {
  std::uint64_t bytesPerPixel = 4;
  gl::GLenum pixelType = gl::GL_UNSIGNED_BYTE;
  float multiplier = 1.0f;

  // Set-down destroyed the renderer: nothing may use it until the next set-up.
  if (!gRenderer) throw int(PF_Err_BAD_CALLBACK_PARAM);
  // Without a root (no set-up yet, or one that failed) this thread's context
  // would share nothing with what later set-ups and other threads make, and
  // the renderer's objects made in it would be read elsewhere as garbage.
  if (!RootContext()) throw int(PF_Err_BAD_CALLBACK_PARAM);
  if (!params || !params[0] || !output) throw int(PF_Err_BAD_CALLBACK_PARAM);
  PF_EffectWorld* input = &params[0]->u.ld;
  const std::int32_t width = input->width;
  const std::int32_t height = input->height;
  // An empty input has nothing to draw: the output is cleared and the render succeeds.
  if (width <= 0 || height <= 0) {
    ClearWorld(output);
    return;
  }

  HostContextGuard guard;
  CurrentThreadContext()->MakeCurrent();
  RenderTarget& target = *RenderTarget::Instance();
  target.Setup(width, height, FrameSampling::Single);
  target.BeginFrame();
  FrameInProgress frame(target);
  ScopedTexture inputTexture = UploadWorldToTexture(kPixelFormatArgb8, input, in_data, &bytesPerPixel, &pixelType,
                                                    &multiplier, TextureFilter::Linear);
  gRenderer->UpdateFromParams(in_data, out_data);
  const Vec2d viewSize{double(width), double(height)};
  gRenderer->Render(inputTexture.Get(), viewSize);
  inputTexture.Reset();
  frame.Finish(multiplier);
  // The read-back writes the overlap of the input's size and the output's, and
  // clears the rest of the output.
  ReadBackToWorld(std::uint32_t(width), std::uint32_t(height), input, output, in_data, kPixelFormatArgb8, bytesPerPixel,
                  pixelType);
  guard.Restore();
}

}  // namespace Orvane::Lumisk
