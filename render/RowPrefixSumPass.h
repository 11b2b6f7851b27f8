#pragma once

#include <cstdint>
#include <memory>

#include <glbinding/gl/types.h>

#include "gl/FullscreenQuad.h"
#include "gl/ScopedTexture.h"
#include "gl/Vec2d.h"
#include "gl/Vec2i.h"

namespace Orvane::Lumisk {

class OpenglShader;

// Per-row prefix sums of the source on a grid reduced by the step (1 or 2
// in use, clamped to 1..4). The result texture is the grid's size: texel k
// of a row holds the sum over cells 0 to k of (grid value - 0.5), channels
// in R, G, B, A order. The zero before cell 0 is left implicit, so a frame
// as wide as the GL's largest texture still has room for its sums.
//
// Made without GL at module load; Run needs the rendering thread's context
// current and the render target's colour layer pushed (each draw ends with
// RenderTarget::EndTexturePass, which binds that layer again).
class RowPrefixSumPass {
public:
  RowPrefixSumPass();
  ~RowPrefixSumPass();

  RowPrefixSumPass(const RowPrefixSumPass&) = delete;
  RowPrefixSumPass& operator=(const RowPrefixSumPass&) = delete;

  // One prepare draw and maxLevel + 1 scan draws over the reduced grid.
  // maxDimension is the larger view dimension in pixels.
  void Run(gl::GLuint sourceTexture, const Vec2d* viewSize, std::int32_t maxDimension, std::int32_t stepRequest);

  // The texture written by the last draw of the last Run.
  gl::GLuint ResultTexture() const { return textures[1 - current].Get(); }

  // The grid step of the last Run (1..4).
  std::int32_t Step() const { return step; }
  // The reduced grid of the last Run, in cells (also the textures' size).
  Vec2i Size() const { return size; }
  // The scan levels of the last Run.
  std::int32_t MaxLevel() const { return maxLevel; }
  gl::GLuint Texture(int index) const { return textures[index].Get(); }

  // Levels whose offsets 1, 2, ..., 2^(k-1) reach across a row: the
  // smallest k >= 1 with 2^k >= cells, cells being the larger view
  // dimension in grid cells (or the grid width, should that be larger).
  static std::int32_t LevelCount(std::int32_t cells, std::int32_t gridWidth);

private:
  void EnsureTextures(const Vec2i& newSize);
  // One draw into textures[current]: BeginDraw opens the texture pass and
  // sets up the program, the caller sets the draw's uniforms (SetViewSize
  // among them), FinishDraw reads input, draws, ends the pass and flips current.
  void BeginDraw(OpenglShader& program);
  void SetViewSize(OpenglShader& program) const;
  void FinishDraw(OpenglShader& program, gl::GLuint input);

  FullscreenQuad quad;
  std::unique_ptr<OpenglShader> prepareProgram;
  std::unique_ptr<OpenglShader> scanProgram;
  std::int32_t maxLevel = 12;
  Vec2i size;
  ScopedTexture textures[2];
  std::int32_t current = 0;
  std::int32_t step = 1;
};

}  // namespace Orvane::Lumisk
