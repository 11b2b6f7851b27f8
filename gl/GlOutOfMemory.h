// GL_OUT_OF_MEMORY as a C++ allocation failure. The GL only records that it
// could not allocate a texture, renderbuffer or pixel buffer, and Mesa records
// nothing at all for a renderbuffer: it leaves it at 0 x 0. Either way the
// object is left without storage and a render would go on to draw nothing and
// report success. Each step that allocates looks once, after its calls, at
// the error flags and at the size the storage got, and the entry point answers
// the host PF_Err_OUT_OF_MEMORY as for any bad_alloc.
#pragma once

#include <new>

#include <glbinding/gl/types.h>

namespace Orvane::Lumisk {

class GlOutOfMemory : public std::bad_alloc {
public:
  const char* what() const noexcept override { return "GL out of memory"; }
};

// Reads and clears the current context's error flags; true when one of them
// was GL_OUT_OF_MEMORY.
bool TakeGlOutOfMemory();

// Throws GlOutOfMemory when TakeGlOutOfMemory() finds it or when `allocated`
// is false (storage left short of the size asked). The flags are cleared
// either way.
void ThrowIfGlOutOfMemory(bool allocated = true);

// Whether the bound GL_RENDERBUFFER, or level 0 of the bound GL_TEXTURE_2D,
// has storage of `width` x `height`.
bool BoundRenderbufferHasSize(gl::GLsizei width, gl::GLsizei height);
bool BoundTextureHasSize(gl::GLsizei width, gl::GLsizei height);

// Every error flag of the current context, read and cleared at once.
struct GlErrorFlags {
  bool outOfMemory = false;
  // What a draw or read meets on a framebuffer whose storage the GL could not
  // allocate.
  bool incompleteFramebuffer = false;
  bool other = false;
};
GlErrorFlags TakeGlErrors();

}  // namespace Orvane::Lumisk
