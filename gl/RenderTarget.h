// The process-wide off-screen target of a render. The render command sizes it,
// opens a frame (a colour layer the gather draws into) and finishes it: the top
// layer is resolved into a texture and drawn through the copy pass into an RGBA
// 32-bit float output renderbuffer, left bound for the read-back. The passes of
// the renderer make working textures with it and draw into them between
// BeginTexturePass and EndTexturePass.
//
// Threads: one instance serves every host thread that renders, without a lock
// (renders do not overlap); only its creation is thread-safe. Renderbuffers
// and textures are shared by the module's contexts, so there is one set of
// them; framebuffers are not, so the frame, multisample, resolve and texture
// pass framebuffers are kept per context (PerContextFramebuffer) and made
// lazily in whichever context is current. Every operation works in the
// context current on the calling thread.
//
// Ownership: every GL name the target makes sits in an owner from its
// creation on (the output renderbuffer, each colour layer with its
// companions, the framebuffers, a new texture until it is returned), so no
// name is lost on an error path. Only CreateTexture with two flags, for
// callers that take a raw name, hands the owner's name over at its return.
//
// A 0 x 0 target has no GL objects: a frame on it pushes nothing and Finish
// draws nothing.
#pragma once

#include <cstdint>
#include <memory>

#include <glbinding/gl/types.h>

#include "gl/ColourLayerStack.h"
#include "gl/CopyPass.h"
#include "gl/PerContextObjects.h"
#include "gl/RenderTargetOptions.h"
#include "gl/ScopedRenderbuffer.h"
#include "gl/ScopedTexture.h"
#include "gl/TextureParameters.h"
#include "gl/Vec2d.h"

namespace Orvane::Lumisk {

class RenderTarget {
public:
  // The one instance of the process, made at the first call and never destroyed.
  static RenderTarget* Instance();

  // A target of its own (tests); the module uses Instance().
  RenderTarget();
  // Deletes the GL objects as ReleaseGL does.
  ~RenderTarget();
  RenderTarget(const RenderTarget&) = delete;
  RenderTarget& operator=(const RenderTarget&) = delete;

  // Replaces the copy pass (".bgar" when multisample); a negative size
  // counts as 0. When the size changed, releases every GL object and makes
  // the output renderbuffer and the current context's framebuffers for the
  // new size. An unchanged size keeps every GL object and the stored
  // sampling. A new size beyond the GL's texture or renderbuffer limit throws
  // AESDK_OpenGL_Fault before anything is released or made, so the target
  // keeps its last size and objects. When the GL has no memory for the output
  // renderbuffer (an error, or storage short of the size), throws
  // GlOutOfMemory with no GL object left and the size forgotten, so the next
  // Setup tries again.
  void Setup(int32_t width, int32_t height, FrameSampling sampling);
  // The same with `multisample` as a flag.
  void Setup(int32_t width, int32_t height, bool multisample);
  // Opens a frame: switches blending off (multisampling on for a multisample
  // target), pushes a colour layer with `companions`, draws into colour
  // attachment 0 of the frame framebuffer bound with it and sets the frame
  // viewport. On a target with no GL objects, nothing. A layer the GL has no
  // memory for throws GlOutOfMemory as PushColour does.
  void BeginFrame(LayerCompanions companions = LayerCompanions::None);
  // The same with the companions as two flags.
  void BeginFrame(bool depth, bool stencil);
  // Pushes a cleared colour layer (with its companions) and attaches it to the
  // frame framebuffer, left bound. A layer the GL has no memory for is popped
  // again (the layer below, if any, attached in its place) and GlOutOfMemory
  // thrown.
  void PushColour(LayerCompanions companions);
  // A new cleared RGBA 32-bit float texture of `size` (each component truncated
  // toward zero), clamped to edge, unbound. Touches no field. A size beyond
  // the GL's texture limit throws AESDK_OpenGL_Fault and makes nothing; one
  // the GL has no memory for throws GlOutOfMemory and is deleted.
  ScopedTexture CreateTexture(const Vec2d& size, TextureFilter filter);
  // The same, handing the name over: the caller deletes it.
  gl::GLuint CreateTexture(const Vec2d& size, bool linear, bool mipmap);
  // Binds the current context's texture-pass framebuffer drawing into level
  // `level` of `texture` (which the caller keeps), clears it to (0, 0, 0, 0)
  // and sets the viewport to `size`.
  void BeginTexturePass(gl::GLuint texture, const Vec2d& size, int32_t level);
  // Detaches the texture, deletes the framebuffer BeginTexturePass made and
  // binds the frame framebuffer again with the top layer, drawing into colour
  // attachment 0, and the frame viewport. With no layer framebuffer 0 stays
  // bound and the pass's viewport stays.
  void EndTexturePass();
  // Pops the top layer into a new linearly filtered texture of the target's
  // size (RGBA 32-bit float when single-sample; empty with no layer) and
  // attaches the layer below, if any. A texture the
  // GL has no memory for throws GlOutOfMemory once the layer is popped; a
  // std::bad_alloc before the copy leaves the layer pushed.
  ScopedTexture ResolveTop();
  // Pops the top layer without resolving it (a frame given up) and attaches
  // the layer below, if any, to the frame framebuffer. With no layer, no GL call.
  void DropTop();
  // Resolves the top layer and draws it through the copy pass into the output
  // renderbuffer, which is left as colour attachment 0 of the bound
  // single-sample framebuffer. With no layer, no GL call. The resolved texture
  // is deleted also when the draw throws.
  void Finish(float multiplier);
  // Deletes the current context's frame, multisample and resolve framebuffers
  // (queues those of other contexts), the output renderbuffer and every layer
  // with its companions. Size and `multisample` stay.
  void ReleaseGL();
  // ReleaseGL, deletes the copy pass and forgets the size, so that the next
  // Setup makes everything again.
  void Release();

  // State, for tests and diagnostics.
  int32_t Width() const { return width; }
  int32_t Height() const { return height; }
  bool Multisample() const { return multisample; }
  gl::GLuint OutputRenderbuffer() const { return outputRenderbuffer.Get(); }
  std::size_t ColourLayerCount() const { return colourStack.Size(); }
  gl::GLuint TopColourLayer() const { return colourStack.Top(); }
  bool HasCopyPass() const { return copyPass != nullptr; }
  // The current context's frame framebuffer, 0 when it has none yet.
  gl::GLuint FindFrameFramebuffer() const;

private:
  bool HasFrameObjects() const { return outputRenderbuffer.Get() != 0; }
  // The current context's frame framebuffer (msFbo or fbo), made on first use.
  gl::GLuint FrameFramebuffer();
  void AttachTopLayer();
  // Makes a companion renderbuffer into `companion` and attaches it to the
  // bound framebuffer.
  // Both return whether the storage got the target's size.
  bool PushCompanion(ScopedRenderbuffer& companion, gl::GLenum format, gl::GLenum attachment);
  bool Storage(gl::GLenum format);
  void ReportIncompleteFramebuffer();

  PerContextFramebuffer resolveFbo;
  PerContextFramebuffer fbo;
  PerContextFramebuffer msFbo;
  ScopedRenderbuffer outputRenderbuffer;
  bool multisample = true;
  int32_t width = 0;
  int32_t height = 0;
  // Each layer owns its stencil and depth companions.
  ColourLayerStack colourStack;
  std::unique_ptr<CopyPass> copyPass;
  // The temporary framebuffer of the open texture pass, in its own context.
  PerContextFramebuffer passFbo;
};

}  // namespace Orvane::Lumisk
