// GLSL sources of the copy program: one vertex program and two fragment
// programs that differ only in the channel order they write.
#pragma once

namespace Orvane::Lumisk {

extern const char* const CopyVertexSource;
// Writes the sampled (r, g, b, a) as (a, r, g, b): alpha first, the host's order.
extern const char* const CopyArgbFragmentSource;
// Writes the sampled (r, g, b, a) as (b, g, a, r).
extern const char* const CopyBgarFragmentSource;

}  // namespace Orvane::Lumisk
