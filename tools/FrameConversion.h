// Between PNG pictures (straight-alpha RGBA bytes) and the host's 8-bit worlds
// (A, R, G, B bytes with colour premultiplied by alpha, as the host keeps
// layers). Premultiplied colour is what a blur must average: a transparent
// pixel then adds no colour to its neighbours.
#pragma once

#include "hostapi/HostEffectApi.h"
#include "tools/RgbaImage.h"

namespace Orvane::Lumisk::RenderTool {

// Premultiplies colour by alpha in the picture itself, still in R, G, B, A
// order; a picture without alpha is left as it is.
void PremultiplyInPlace(RgbaImage& image);

// The picture as the host hands it to the effect: premultiplied, at
// 1/downsample of each side. The decoded picture itself becomes it.
RgbaImage HostPicture(RgbaImage picture, int downsample);

// Writes a premultiplied picture into an 8-bit world of at least its size.
void CopyToWorld(const RgbaImage& premultiplied, PF_EffectWorld& world);

// Reads an 8-bit world back into a straight-alpha picture (colour divided by
// alpha again; a fully transparent pixel reads as transparent black).
RgbaImage CopyFromWorld(const PF_EffectWorld& world, bool hasAlpha);

}  // namespace Orvane::Lumisk::RenderTool
