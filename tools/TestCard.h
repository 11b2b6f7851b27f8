// The built-in test card: a dark scene with bright points, lines and hard edges,
// which shows the lens shape and the blur plainly. Opaque (no alpha channel).
#pragma once

#include "tools/RgbaImage.h"

namespace Orvane::Lumisk::RenderTool {

constexpr int kTestCardWidth = 640;
constexpr int kTestCardHeight = 360;

RgbaImage MakeTestCard(int width = kTestCardWidth, int height = kTestCardHeight);

}  // namespace Orvane::Lumisk::RenderTool
