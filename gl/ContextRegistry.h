#pragma once

#include <cstddef>
#include <cstdint>

#include "gl/AEOpenGLContext.h"

namespace Orvane::Lumisk {

// The module's contexts: one root made at global set-up and one context per
// host thread that renders, known by a thread-local slot handed out in the
// order of first use (0, 1, ...; never reused).

// Makes the root (no share partner). On failure the root stays as it was and
// AESDK_OpenGL_Fault goes on.
void CreateRootContext();

AEOpenGLContext* RootContext();

// The calling thread's context; made (shared with the root, or the root's way
// when there is no root) whenever the thread has none: on its first call, after
// a failed creation and after DestroyAllContexts. A new context comes back
// current, an existing one does not: follow with MakeCurrent. Never returns
// null; a failed creation throws and leaves the registry unlocked.
AEOpenGLContext* CurrentThreadContext();

// Deletes every per-thread context (ascending slots) and the root. Slots stay
// assigned. Takes no lock: only while the host is not rendering.
void DestroyAllContexts();

// The calling thread's slot, -1 before its first CurrentThreadContext.
std::int32_t CurrentThreadContextSlot();

// Number of per-thread contexts held.
std::size_t RegisteredContextCount();

}  // namespace Orvane::Lumisk
