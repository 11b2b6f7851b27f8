// GL_OUT_OF_MEMORY as a C++ allocation failure. The GL only records that it
// could not allocate a texture, renderbuffer or pixel buffer; the object is
// then left without storage and a render would go on to draw nothing and
// report success. Each step that allocates looks once, after its calls, and
// the entry point answers the host PF_Err_OUT_OF_MEMORY as for any bad_alloc.
#pragma once

#include <new>

namespace Orvane::Lumisk {

class GlOutOfMemory : public std::bad_alloc {
public:
  const char* what() const noexcept override { return "GL out of memory"; }
};

// Reads and clears the current context's error flags; true when one of them
// was GL_OUT_OF_MEMORY.
bool TakeGlOutOfMemory();

// Throws GlOutOfMemory when TakeGlOutOfMemory() finds it.
void ThrowIfGlOutOfMemory();

}  // namespace Orvane::Lumisk
