#include "tools/TestCard.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Orvane::Lumisk::RenderTool {
namespace {

struct Colour {
  uint8_t r, g, b;
};

void Put(RgbaImage& card, int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= card.width || y >= card.height) return;
  uint8_t* p = card.Pixel(x, y);
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
  p[3] = 255;
}

void FillRect(RgbaImage& card, int x0, int y0, int x1, int y1, Colour c) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) Put(card, x, y, c);
}

// A dark night-sky gradient, brighter towards the bottom.
void PaintBackground(RgbaImage& card) {
  for (int y = 0; y < card.height; ++y) {
    const double t = double(y) / std::max(1, card.height - 1);
    const Colour c{uint8_t(6 + 14 * t), uint8_t(8 + 16 * t), uint8_t(20 + 26 * t)};
    for (int x = 0; x < card.width; ++x) Put(card, x, y, c);
  }
}

// Bright lights of three sizes in a jittered grid: each one blurs into the
// lens's shape, the larger ones into plainly visible discs.
void PaintLights(RgbaImage& card) {
  static const Colour kLights[] = {{255, 250, 235}, {255, 190, 90}, {120, 200, 255}, {255, 120, 150}};
  uint32_t seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const int stepX = std::max(8, card.width / 12);
  const int stepY = std::max(8, card.height / 6);
  int n = 0;
  for (int gy = stepY / 2; gy < card.height * 2 / 3; gy += stepY) {
    for (int gx = stepX / 2; gx < card.width; gx += stepX, ++n) {
      const int x = gx + int(next() % unsigned(stepX / 2)) - stepX / 4;
      const int y = gy + int(next() % unsigned(stepY / 2)) - stepY / 4;
      const int radius = 2 + 2 * (n % 3);
      for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
          if (dx * dx + dy * dy <= radius * radius) Put(card, x + dx, y + dy, kLights[n % 4]);
    }
  }
}

// A bright frame, a white bar and a light/dark checker band: hard edges.
void PaintEdges(RgbaImage& card) {
  const Colour white{240, 240, 240};
  const int w = card.width, h = card.height;
  const int top = h * 3 / 4, bottom = h - h / 12;
  FillRect(card, w / 16, top, w / 16 + w / 5, bottom, white);
  for (int x = w / 3; x < w - w / 16; ++x) {
    const bool light = ((x - w / 3) / std::max(1, w / 24)) % 2 == 0;
    FillRect(card, x, top, x + 1, bottom, light ? Colour{200, 200, 200} : Colour{30, 30, 30});
  }
  const Colour yellow{255, 220, 60};
  const int fx0 = w / 16, fy0 = h / 16, fx1 = w - w / 16, fy1 = top - h / 24;
  FillRect(card, fx0, fy0, fx1, fy0 + 2, yellow);
  FillRect(card, fx0, fy1 - 2, fx1, fy1, yellow);
  FillRect(card, fx0, fy0, fx0 + 2, fy1, yellow);
  FillRect(card, fx1 - 2, fy0, fx1, fy1, yellow);
}

}  // namespace

RgbaImage MakeTestCard(int width, int height) {
  RgbaImage card(width, height, false);
  PaintBackground(card);
  PaintEdges(card);
  PaintLights(card);
  return card;
}

}  // namespace Orvane::Lumisk::RenderTool
