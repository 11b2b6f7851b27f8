#pragma once

namespace Orvane::Lumisk {

class BlurRenderer;

// The module's one renderer: made at module load (no GL call), destroyed at
// global set-down, made again by a later global set-up. Null in between, and
// when making it at load failed.
extern BlurRenderer* gRenderer;

// Makes the renderer when there is none. Throws std::bad_alloc.
void EnsureGlobalRenderer();
// Destroys the renderer; its GL objects go with the context current now.
void DestroyGlobalRenderer();

}  // namespace Orvane::Lumisk
