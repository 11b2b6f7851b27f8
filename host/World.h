// Host images: a PF_EffectWorld with its own pixel memory, in 8-bit,
// 16-bit or float channels, rows optionally padded past width x pixel size.
#pragma once

#include <cstdint>
#include <vector>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::HeadlessHost {

enum class PixelDepth { k8, k16, kFloat };

// The host marks a world's depth in world_flags with these bits of its
// own (a world without them is 8-bit), so its pixel-data callbacks and its
// float iteration can tell worlds apart.
constexpr A_long kWorldFlag16 = 0x10000;
constexpr A_long kWorldFlagFloat = 0x20000;

PixelDepth DepthOf(const PF_EffectWorld& world);
A_long BytesPerPixel(PixelDepth depth);

class World {
public:
  // Padding bytes after each row; must be a multiple of the channel size.
  // Pixels start zeroed; padding bytes hold kPaddingByte so that tests can see
  // whether anything wrote into the row gaps. Throws std::invalid_argument on
  // negative sizes or a misaligned padding.
  World(PixelDepth depth, A_long width, A_long height, A_long rowPaddingBytes = 0);
  static World Make8(A_long width, A_long height, A_long rowPaddingBytes = 0);
  static World Make16(A_long width, A_long height, A_long rowPaddingBytes = 0);
  static World MakeFloat(A_long width, A_long height, A_long rowPaddingBytes = 0);

  World(World&& other) noexcept;
  World& operator=(World&& other) noexcept;
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  static constexpr uint8_t kPaddingByte = 0xA5;

  // The host's record of this image; its data points into this object.
  PF_EffectWorld* Get() { return &record; }
  const PF_EffectWorld* Get() const { return &record; }

  PixelDepth Depth() const { return pixelDepth; }
  A_long Width() const { return record.width; }
  A_long Height() const { return record.height; }
  A_long RowBytes() const { return record.rowbytes; }

  uint8_t* Row(A_long y);
  const uint8_t* Row(A_long y) const;
  PF_Pixel8& Pixel8(A_long x, A_long y);
  const PF_Pixel8& Pixel8(A_long x, A_long y) const;
  PF_Pixel16& Pixel16(A_long x, A_long y);
  const PF_Pixel16& Pixel16(A_long x, A_long y) const;
  PF_PixelFloat& PixelFloat(A_long x, A_long y);
  const PF_PixelFloat& PixelFloat(A_long x, A_long y) const;

  // Every 8-bit pixel set to pixel.
  void Fill8(const PF_Pixel8& pixel);
  // Whether every padding byte still holds kPaddingByte.
  bool PaddingUntouched() const;

private:
  void Rebind();

  PixelDepth pixelDepth;
  std::vector<uint8_t> bytes;
  PF_EffectWorld record{};
};

}  // namespace Orvane::Lumisk::HeadlessHost
