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
// them; framebuffers are not, so the frame, multisample and resolve
// framebuffers are kept per context and made lazily in whichever context is
// current. Every operation works in the context current on the calling thread.
//
// A 0 x 0 target has no GL objects: a frame on it pushes nothing and Finish
// draws nothing.
#pragma once

#include <glbinding/gl/types.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "gl/CopyPass.h"
#include "gl/PerContextObjects.h"
#include "gl/Vec2d.h"

namespace Orvane::Lumisk {

class RenderTarget {
public:
  // The one instance of the process, made at the first call and never destroyed.
  static RenderTarget* Instance();

  // A target of its own (tests); the module uses Instance().
  RenderTarget();
  ~RenderTarget();
  RenderTarget(const RenderTarget&) = delete;
  RenderTarget& operator=(const RenderTarget&) = delete;

  // Replaces the copy pass (".bgar" when `multisample`), and when the size
  // changed releases every GL object and makes the output renderbuffer (and the
  // current context's framebuffers) for the new size. An unchanged size keeps
  // every GL object and the stored `multisample`. A new size beyond the GL's
  // texture or renderbuffer limit throws AESDK_OpenGL_Fault before anything is
  // released or made, so the target keeps its last size and objects. When the
  // GL has no memory for the new objects (an error, or storage short of the
  // size), throws GlOutOfMemory with none of them left and the size forgotten,
  // so the next Setup tries again.
  void Setup(int32_t width, int32_t height, bool multisample);
  // Opens a frame: pushes a colour layer, binds the frame framebuffer with it and
  // sets the frame viewport.
  void BeginFrame(bool depth, bool stencil);
  // Pushes a cleared colour layer (with optional stencil and depth companions)
  // and attaches it to the bound frame framebuffer. A layer the GL has no
  // memory for is deleted again and GlOutOfMemory thrown.
  void PushColour(bool depth, bool stencil);
  // A new cleared RGBA 32-bit float texture of `size` (each component truncated
  // toward zero), clamped to edge; the caller owns it. Touches no field. A size
  // beyond the GL's texture limit throws AESDK_OpenGL_Fault and makes nothing;
  // one the GL has no memory for throws GlOutOfMemory and is deleted.
  gl::GLuint CreateTexture(const Vec2d& size, bool linear, bool mipmap);
  // Binds a temporary framebuffer drawing into `texture`, clears it to (0, 0, 0,
  // 0) and sets the viewport to `size`.
  void BeginTexturePass(gl::GLuint texture, const Vec2d& size, int32_t level);
  // Deletes the framebuffer BeginTexturePass made and binds the frame
  // framebuffer again with the top layer, and the frame viewport. With no layer
  // framebuffer 0 stays bound.
  void EndTexturePass();
  // Pops the top layer into a new texture the caller owns; 0 with no layer.
  // A texture the GL has no memory for throws GlOutOfMemory once the layer is
  // popped; a std::bad_alloc before the copy leaves the layer pushed.
  gl::GLuint ResolveTop();
  // Pops the top layer without resolving it (a frame given up) and attaches
  // the layer below, if any, to the frame framebuffer. With no layer, no GL call.
  void DropTop();
  // Resolves the top layer and draws it through the copy pass into the output
  // renderbuffer, which is left as colour attachment 0 of the bound frame
  // framebuffer. With no layer, no GL call.
  void Finish(float multiplier);
  // Deletes every framebuffer, the output renderbuffer and every layer.
  void ReleaseGL();
  // ReleaseGL, deletes the copy pass and forgets the size, so that the next
  // Setup makes everything again.
  void Release();

  // State, for tests and diagnostics.
  int32_t Width() const { return width; }
  int32_t Height() const { return height; }
  bool Multisample() const { return multisample; }
  gl::GLuint OutputRenderbuffer() const { return outputRenderbuffer; }
  std::size_t ColourLayerCount() const { return colourStack.size(); }
  gl::GLuint TopColourLayer() const { return colourStack.empty() ? 0 : colourStack.back(); }
  bool HasCopyPass() const { return copyPass != nullptr; }
  // The current context's frame framebuffer, 0 when it has none yet.
  gl::GLuint FindFrameFramebuffer() const;

private:
  bool HasFrameObjects() const { return outputRenderbuffer != 0; }
  // The current context's frame framebuffer (msFbo or fbo), made on first use.
  gl::GLuint FrameFramebuffer();
  void AttachTopLayer();
  // Makes a companion renderbuffer of `layer`, attaches it to the bound
  // framebuffer and records it in `companions`.
  // Both return whether the storage got the target's size.
  bool PushCompanion(std::map<gl::GLuint, gl::GLuint>& companions, gl::GLuint layer, gl::GLenum format,
                     gl::GLenum attachment);
  bool Storage(gl::GLenum format);
  void ReportIncompleteFramebuffer();
  void PopTopLayer();
  void DeleteLayer(gl::GLuint layer);

  PerContextFramebuffer resolveFbo;
  PerContextFramebuffer fbo;
  PerContextFramebuffer msFbo;
  gl::GLuint outputRenderbuffer = 0;
  bool multisample = true;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<gl::GLuint> colourStack;
  std::map<gl::GLuint, gl::GLuint> depthOf;
  std::map<gl::GLuint, gl::GLuint> stencilOf;
  std::unique_ptr<CopyPass> copyPass;
  // The temporary framebuffer of the open texture pass, in its own context.
  PerContextFramebuffer passFbo;
};

}  // namespace Orvane::Lumisk
