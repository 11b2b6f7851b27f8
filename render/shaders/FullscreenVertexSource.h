#pragma once

namespace Orvane::Lumisk {

// Vertex program shared by every pass of the renderer: "position" (location 0)
// is placed in clip space, "input_uv" (location 1) passes on as "uv".
extern const char* const FullscreenVertexSource;

}  // namespace Orvane::Lumisk
