#include "host/World.h"

#include <cstring>
#include <stdexcept>

namespace Orvane::Lumisk::HeadlessHost {

namespace {

A_long ChannelBytes(PixelDepth depth) {
  switch (depth) {
    case PixelDepth::k8:
      return 1;
    case PixelDepth::k16:
      return 2;
    case PixelDepth::kFloat:
      return 4;
  }
  return 1;
}

A_long FlagsOf(PixelDepth depth) {
  switch (depth) {
    case PixelDepth::k8:
      return 0;
    case PixelDepth::k16:
      return kWorldFlag16;
    case PixelDepth::kFloat:
      return kWorldFlagFloat;
  }
  return 0;
}

}  // namespace

PixelDepth DepthOf(const PF_EffectWorld& world) {
  if ((world.world_flags & kWorldFlagFloat) != 0) {
    return PixelDepth::kFloat;
  }
  if ((world.world_flags & kWorldFlag16) != 0) {
    return PixelDepth::k16;
  }
  return PixelDepth::k8;
}

A_long BytesPerPixel(PixelDepth depth) {
  return 4 * ChannelBytes(depth);
}

World::World(PixelDepth depth, A_long width, A_long height, A_long rowPaddingBytes) : pixelDepth(depth) {
  if (width < 0 || height < 0 || rowPaddingBytes < 0 || rowPaddingBytes % ChannelBytes(depth) != 0) {
    throw std::invalid_argument("world size or row padding out of range");
  }
  const A_long pixelRowBytes = width * BytesPerPixel(depth);
  record.width = width;
  record.height = height;
  record.rowbytes = pixelRowBytes + rowPaddingBytes;
  record.world_flags = FlagsOf(depth);
  record.extent_hint = PF_Rect{0, 0, width, height};
  record.pix_aspect_ratio = PF_RationalScale{1, 1};
  // At least one byte, so that even an empty world has a non-null data pointer.
  bytes.assign(static_cast<std::size_t>(record.rowbytes) * static_cast<std::size_t>(height) + 1, 0);
  for (A_long y = 0; y < height; ++y) {
    std::memset(bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(record.rowbytes) +
                    static_cast<std::size_t>(pixelRowBytes),
                kPaddingByte, static_cast<std::size_t>(rowPaddingBytes));
  }
  Rebind();
}

World World::Make8(A_long width, A_long height, A_long rowPaddingBytes) {
  return World(PixelDepth::k8, width, height, rowPaddingBytes);
}
World World::Make16(A_long width, A_long height, A_long rowPaddingBytes) {
  return World(PixelDepth::k16, width, height, rowPaddingBytes);
}
World World::MakeFloat(A_long width, A_long height, A_long rowPaddingBytes) {
  return World(PixelDepth::kFloat, width, height, rowPaddingBytes);
}

World::World(World&& other) noexcept
    : pixelDepth(other.pixelDepth), bytes(std::move(other.bytes)), record(other.record) {
  Rebind();
}

World& World::operator=(World&& other) noexcept {
  pixelDepth = other.pixelDepth;
  bytes = std::move(other.bytes);
  record = other.record;
  Rebind();
  return *this;
}

void World::Rebind() {
  record.data = reinterpret_cast<PF_PixelPtr>(bytes.data());
}

uint8_t* World::Row(A_long y) {
  return bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(record.rowbytes);
}
const uint8_t* World::Row(A_long y) const {
  return bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(record.rowbytes);
}

PF_Pixel8& World::Pixel8(A_long x, A_long y) {
  return reinterpret_cast<PF_Pixel8*>(Row(y))[x];
}
const PF_Pixel8& World::Pixel8(A_long x, A_long y) const {
  return reinterpret_cast<const PF_Pixel8*>(Row(y))[x];
}
PF_Pixel16& World::Pixel16(A_long x, A_long y) {
  return reinterpret_cast<PF_Pixel16*>(Row(y))[x];
}
const PF_Pixel16& World::Pixel16(A_long x, A_long y) const {
  return reinterpret_cast<const PF_Pixel16*>(Row(y))[x];
}
PF_PixelFloat& World::PixelFloat(A_long x, A_long y) {
  return reinterpret_cast<PF_PixelFloat*>(Row(y))[x];
}
const PF_PixelFloat& World::PixelFloat(A_long x, A_long y) const {
  return reinterpret_cast<const PF_PixelFloat*>(Row(y))[x];
}

void World::Fill8(const PF_Pixel8& pixel) {
  for (A_long y = 0; y < Height(); ++y) {
    for (A_long x = 0; x < Width(); ++x) {
      Pixel8(x, y) = pixel;
    }
  }
}

bool World::PaddingUntouched() const {
  const auto pixelRowBytes = static_cast<std::size_t>(Width() * BytesPerPixel(pixelDepth));
  for (A_long y = 0; y < Height(); ++y) {
    const uint8_t* row = Row(y);
    for (std::size_t i = pixelRowBytes; i < static_cast<std::size_t>(RowBytes()); ++i) {
      if (row[i] != kPaddingByte) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace Orvane::Lumisk::HeadlessHost
