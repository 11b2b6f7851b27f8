#include <algorithm>
#include <cmath>

#include "CpuReference.h"

namespace Orvane::Lumisk::Reference {

// Quality 0 works on every pixel, quality 1 on the grid halved in each direction.
int GridStep(int quality) {
  return std::clamp(quality + 1, 1, 4);
}

// Each cell is the mean of its own block of pixels; the edge pixel stands in
// for pixels beyond the frame. Host A, R, G, B become R, G, B, A.
Image GridMeans(const Image& input, int step) {
  const int cellsX = (input.width + step - 1) / step;
  const int cellsY = (input.height + step - 1) / step;
  Image grid(cellsX, cellsY);
  for (int r = 0; r < cellsY; ++r) {
    for (int c = 0; c < cellsX; ++c) {
      double sum[4] = {0.0, 0.0, 0.0, 0.0};
      for (int dy = 0; dy < step; ++dy) {
        for (int dx = 0; dx < step; ++dx) {
          const Texel& p =
              input.At(std::min(c * step + dx, input.width - 1), std::min(r * step + dy, input.height - 1));
          for (size_t k = 0; k < 4; ++k) sum[k] += p[(k + 1) % 4];
        }
      }
      for (size_t k = 0; k < 4; ++k) grid.At(c, r)[k] = static_cast<float>(sum[k] / (step * step));
    }
  }
  return grid;
}

// Texel k of a row: the sum of (cell - 0.5) over cells 0 to k.
Image InclusiveRowSums(const Image& grid) {
  Image sums(grid.width, grid.height);
  for (int r = 0; r < grid.height; ++r) {
    double sum[4] = {0.0, 0.0, 0.0, 0.0};
    for (int k = 0; k < grid.width; ++k) {
      for (size_t c = 0; c < 4; ++c) {
        sum[c] += static_cast<double>(grid.At(k, r)[c]) - 0.5;
        sums.At(k, r)[c] = static_cast<float>(sum[c]);
      }
    }
  }
  return sums;
}

}  // namespace Orvane::Lumisk::Reference
