#pragma once
// Framebuffers and vertex arrays belong to the context that made them: list
// sharing does not carry them to the other contexts of the module. Whatever
// the runtime and the passes keep of them is kept per context, keyed by the
// current WGL context (wglGetCurrentContext), through the helpers below.
//
// Contract:
// - Get/Bind answer the name of the context current on the calling thread,
//   making it there on first use. With no context current they make nothing
//   and answer 0.
// - Release (and the destructor) deletes the current context's name at once,
//   in that context. A name of another context that still lives is never
//   deleted in the wrong context: it is queued and deleted the next time that
//   context is made current through AEOpenGLContext::MakeCurrent (or the next
//   time a helper is used in it).
// - When a context is destroyed, AEOpenGLContext's destructor calls
//   ForgetContextObjects: every helper drops that context's name and its
//   queue is dropped; the GL deletes those objects with the context. So a
//   context handle that the system later reuses never finds stale names.
// - Thread-safe: each thread only touches its own current context's names;
//   the bookkeeping is guarded by one internal mutex (never held across a GL
//   call or a layout callback).

#include <cstddef>
#include <functional>
#include <map>

#include <glbinding/gl/types.h>

#include "platform/WglApi.h"

namespace Orvane::Lumisk {

// The per-context kinds, in the pattern of the shared kinds of ScopedGlName:
// how a name is made and deleted, in the context current at the call.
struct FramebufferName {
  static gl::GLuint Generate();
  static void Delete(gl::GLuint name);
};

struct VertexArrayName {
  static gl::GLuint Generate();
  static void Delete(gl::GLuint name);
};

// The bookkeeping of one GL name per context, for a kind given as its two
// functions; PerContextName<Kind> below is what passes hold.
class PerContextNames {
public:
  using Generator = gl::GLuint (*)();
  using Deleter = void (*)(gl::GLuint);

  PerContextNames(Generator generate, Deleter remove);
  ~PerContextNames();

  PerContextNames(const PerContextNames&) = delete;
  PerContextNames& operator=(const PerContextNames&) = delete;

  // The current context's name, made on first use; 0 when no context is
  // current. created (optional) tells whether this call made it.
  gl::GLuint Get(bool* created = nullptr);
  // The current context's name or 0; never makes one.
  gl::GLuint Find() const;
  // Deletes or queues every name, as the contract says; the helper can be
  // used again afterwards.
  void Release();
  // Number of contexts that hold a name of this helper.
  std::size_t ContextCount() const;

private:
  friend void ForgetContextObjects(HGLRC context);
  void Forget(HGLRC context);

  Generator generate;
  Deleter remove;
  std::map<HGLRC, gl::GLuint> names;
};

// One GL name of `Kind` per context.
template <typename Kind>
class PerContextName : public PerContextNames {
public:
  PerContextName() : PerContextNames(&Kind::Generate, &Kind::Delete) {}
};

// A framebuffer per context (the render target's frame, multisample,
// resolve and texture-pass framebuffers).
using PerContextFramebuffer = PerContextName<FramebufferName>;

// A vertex array per context for one pass. The pass's buffer is shared
// between contexts; only the attribute layout must be recorded in each.
class PerContextVertexArray {
public:
  // Binds the current context's vertex array and returns it. The first time in
  // a context, the new vertex array is bound and layout() is called so the
  // pass binds its buffer and sets its attribute pointers there.
  // With no context current: nothing, 0.
  gl::GLuint Bind(const std::function<void()>& layout);
  gl::GLuint Find() const { return names.Find(); }
  void Release() { names.Release(); }

private:
  PerContextName<VertexArrayName> names;
};

// Deletes, in the current context, the names queued for it.
void DeletePendingContextObjects();

// The context is going away: forget every name kept for it.
void ForgetContextObjects(HGLRC context);

// Names queued for deletion in the given context (for tests).
std::size_t PendingContextObjectCount(HGLRC context);

}  // namespace Orvane::Lumisk
