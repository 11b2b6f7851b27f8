#include "gl/RenderTarget.h"

#include <cmath>
#include <limits>
#include <utility>

#include <glbinding/gl/gl.h>

#include "gl/GlOutOfMemory.h"
#include "gl/GlSizeLimits.h"
#include "gl/LogPrintf.h"
#include "gl/TextureParameters.h"

using namespace gl;

namespace Orvane::Lumisk {

namespace {

constexpr GLsizei kMultisampleSamples = 8;

// A texel count from a size in pixels: truncated toward zero, never negative.
GLsizei TruncateToTexels(double extent) {
  if (!(extent > 0.0)) {
    return 0;  // also NaN
  }
  if (extent >= static_cast<double>(std::numeric_limits<GLsizei>::max())) {
    return std::numeric_limits<GLsizei>::max();
  }
  return static_cast<GLsizei>(extent);
}

// Defines level 0 of the bound texture from a zero-filled buffer, so that it
// starts transparent black.
void DefineClearedLevel(GLenum internalFormat, GLsizei width, GLsizei height) {
  const std::vector<unsigned char> zeros(static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, zeros.data());
}

}  // namespace

RenderTarget* RenderTarget::Instance() {
  // Made once under the language's thread-safe static initialisation; a throw
  // frees the storage and the next call tries again. Never destroyed: GL
  // objects cannot be deleted at process exit.
  static RenderTarget* const gRenderTarget = new RenderTarget();
  return gRenderTarget;
}

RenderTarget::RenderTarget() = default;

RenderTarget::~RenderTarget() {
  ReleaseGL();
}

GLuint RenderTarget::FrameFramebuffer() {
  return multisample ? msFbo.Get() : fbo.Get();
}

GLuint RenderTarget::FindFrameFramebuffer() const {
  return multisample ? msFbo.Find() : fbo.Find();
}

void RenderTarget::Setup(int32_t newWidth, int32_t newHeight, bool newMultisample) {
  Setup(newWidth, newHeight, newMultisample ? FrameSampling::Multisample : FrameSampling::Single);
}

void RenderTarget::Setup(int32_t newWidth, int32_t newHeight, FrameSampling sampling) {
  const bool newMultisample = sampling == FrameSampling::Multisample;
  copyPass.reset();
  copyPass = std::make_unique<CopyPass>(newMultisample);
  // A negative size is no size at all.
  newWidth = newWidth > 0 ? newWidth : 0;
  newHeight = newHeight > 0 ? newHeight : 0;
  if (newWidth == width && newHeight == height) {
    return;
  }
  // Refused before the old objects go: the target keeps its last size intact.
  // The frame's layers and output are renderbuffers of this size, and each
  // frame resolves into a texture of it.
  RequireRenderbufferSize(newWidth, newHeight);
  RequireTextureSize(newWidth, newHeight);
  ReleaseGL();
  width = newWidth;
  height = newHeight;
  multisample = newMultisample;
  if (width == 0 || height == 0) {
    return;
  }
  // The other contexts make their framebuffers at their first use.
  fbo.Get();
  if (multisample) {
    resolveFbo.Get();
    msFbo.Get();
  }
  outputRenderbuffer = ScopedRenderbuffer::Generate();
  glBindRenderbuffer(GL_RENDERBUFFER, outputRenderbuffer.Get());
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA32F, width, height);
  const bool allocated = BoundRenderbufferHasSize(width, height);
  if (TakeGlOutOfMemory() || !allocated) {
    // Nothing of this size stays, and the next Setup makes it all again.
    ReleaseGL();
    width = 0;
    height = 0;
    throw GlOutOfMemory();
  }
}

void RenderTarget::BeginFrame(bool depth, bool stencil) {
  BeginFrame(LayerCompanionsOf(depth, stencil));
}

void RenderTarget::BeginFrame(LayerCompanions companions) {
  if (!HasFrameObjects()) {
    return;
  }
  glDisable(GL_BLEND);
  if (multisample) {
    glEnable(GL_MULTISAMPLE);
  }
  PushColour(companions);
  // Only now is the frame framebuffer bound: a draw buffer of an attachment is
  // an error on the default framebuffer.
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
}

bool RenderTarget::Storage(GLenum format) {
  if (multisample) {
    // A driver with fewer samples leaves the layer without storage too; the
    // push reports that framebuffer as incomplete and goes on (no render
    // takes multisampling).
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, kMultisampleSamples, format, width, height);
    return true;
  }
  glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
  return BoundRenderbufferHasSize(width, height);
}

bool RenderTarget::PushCompanion(ScopedRenderbuffer& companion, GLenum format, GLenum attachment) {
  companion = ScopedRenderbuffer::Generate();
  glBindRenderbuffer(GL_RENDERBUFFER, companion.Get());
  const bool allocated = Storage(format);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, companion.Get());
  return allocated;
}

void RenderTarget::ReportIncompleteFramebuffer() {
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    LogPrintf("framebuffer incomplete:%d", static_cast<int>(status));
  }
}

void RenderTarget::PushColour(LayerCompanions companions) {
  if (!HasFrameObjects()) {
    return;
  }
  const bool depth = HasDepth(companions);
  const bool stencil = HasStencil(companions);
  ScopedRenderbuffer colour = ScopedRenderbuffer::Generate();
  glBindRenderbuffer(GL_RENDERBUFFER, colour.Get());
  bool allocated = Storage(GL_RGBA);
  glBindFramebuffer(GL_FRAMEBUFFER, FrameFramebuffer());
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour.Get());
  ColourLayer& layer = colourStack.Push(std::move(colour));
  if (stencil) {
    allocated = PushCompanion(layer.stencil, GL_STENCIL_INDEX8, GL_STENCIL_ATTACHMENT) && allocated;
  }
  if (depth) {
    allocated = PushCompanion(layer.depth, GL_DEPTH_COMPONENT24, GL_DEPTH_ATTACHMENT) && allocated;
  }
  if (TakeGlOutOfMemory() || !allocated) {
    // The layer without storage goes before anyone draws into it.
    DropTop();
    throw GlOutOfMemory();
  }
  if (multisample) {
    ReportIncompleteFramebuffer();
  }
  ClearBufferMask mask = GL_COLOR_BUFFER_BIT;
  if (depth) {
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (stencil) {
    mask |= GL_STENCIL_BUFFER_BIT;
  }
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(mask);
}

GLuint RenderTarget::CreateTexture(const Vec2d& size, bool linear, bool mipmap) {
  return CreateTexture(size, TextureFilterOf(linear, mipmap)).Release();
}

ScopedTexture RenderTarget::CreateTexture(const Vec2d& size, TextureFilter filter) {
  const GLsizei texelsX = TruncateToTexels(size.x);
  const GLsizei texelsY = TruncateToTexels(size.y);
  RequireTextureSize(texelsX, texelsY);
  ScopedTexture texture = ScopedTexture::Generate();
  glBindTexture(GL_TEXTURE_2D, texture.Get());
  SetTextureParameters(FiltersOf(filter));
  DefineClearedLevel(GL_RGBA32F, texelsX, texelsY);
  const bool allocated = BoundTextureHasSize(texelsX, texelsY);
  glBindTexture(GL_TEXTURE_2D, 0);
  ThrowIfGlOutOfMemory(allocated);
  return texture;
}

void RenderTarget::BeginTexturePass(GLuint texture, const Vec2d& size, int32_t level) {
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, passFbo.Get());
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, level);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glViewport(0, 0, TruncateToTexels(size.x), TruncateToTexels(size.y));
}

void RenderTarget::AttachTopLayer() {
  const GLuint top = colourStack.Top();
  glBindRenderbuffer(GL_RENDERBUFFER, top);
  glBindFramebuffer(GL_FRAMEBUFFER, FrameFramebuffer());
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, top);
}

void RenderTarget::EndTexturePass() {
  // Detach the texture from the pass's own framebuffer, whatever the pass bound
  // since, then delete that framebuffer.
  const GLuint pass = passFbo.Find();
  if (pass != 0) {
    glBindFramebuffer(GL_FRAMEBUFFER, pass);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  }
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  passFbo.Release();
  if (colourStack.Empty()) {
    return;
  }
  AttachTopLayer();
  const GLenum drawBuffer = GL_COLOR_ATTACHMENT0;
  glDrawBuffers(1, &drawBuffer);
  glViewport(0, 0, width, height);
}

ScopedTexture RenderTarget::ResolveTop() {
  if (colourStack.Empty()) {
    return ScopedTexture();
  }
  ScopedTexture resolved = ScopedTexture::Generate();
  glBindTexture(GL_TEXTURE_2D, resolved.Get());
  SetTextureParameters(FiltersOf(TextureFilter::Linear));
  DefineClearedLevel(GL_RGBA, width, height);
  bool allocated = BoundTextureHasSize(width, height);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (multisample) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, msFbo.Get());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFbo.Get());
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, resolved.Get(), 0);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  } else {
    // Read the top layer itself, whatever a pass left bound.
    glBindFramebuffer(GL_FRAMEBUFFER, fbo.Get());
    glBindTexture(GL_TEXTURE_2D, resolved.Get());
    // The copy makes the texture's storage anew.
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 0, 0, width, height, 0);
    allocated = BoundTextureHasSize(width, height) && allocated;
  }
  DropTop();
  ThrowIfGlOutOfMemory(allocated);
  return resolved;
}

void RenderTarget::DropTop() {
  if (colourStack.Empty()) {
    return;
  }
  colourStack.Pop();
  if (!colourStack.Empty()) {
    AttachTopLayer();
  }
}

void RenderTarget::Finish(float multiplier) {
  const ScopedTexture resolved = ResolveTop();
  if (resolved.Get() == 0) {
    return;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, fbo.Get());
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, outputRenderbuffer.Get());
  glDisable(GL_BLEND);
  glDisable(GL_MULTISAMPLE);
  glViewport(0, 0, width, height);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT);
  if (copyPass != nullptr) {
    copyPass->Draw(resolved.Get(), multiplier);
  }
}

void RenderTarget::ReleaseGL() {
  resolveFbo.Release();
  fbo.Release();
  msFbo.Release();
  outputRenderbuffer.Reset();
  colourStack.Clear();
}

void RenderTarget::Release() {
  ReleaseGL();
  copyPass.reset();
  width = 0;
  height = 0;
}

}  // namespace Orvane::Lumisk
