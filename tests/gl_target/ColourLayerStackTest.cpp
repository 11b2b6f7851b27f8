// The render target's layer stack: a layer and its companions live and die
// together, whatever the stack's storage does meanwhile.
#include <vector>

#include <gtest/gtest.h>

#include "gl/ColourLayerStack.h"
#include "tests/support/GlTestContext.h"

using namespace gl;

namespace Orvane::Lumisk::Testing {
namespace {

class ColourLayerStackTest : public GlContextTest {};

// glIsRenderbuffer answers true only for a name bound once.
ScopedRenderbuffer BoundRenderbuffer() {
  ScopedRenderbuffer owner = ScopedRenderbuffer::Generate();
  glBindRenderbuffer(GL_RENDERBUFFER, owner.Get());
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  return owner;
}

bool IsRenderbuffer(GLuint name) {
  return glIsRenderbuffer(name) == GL_TRUE;
}

struct LayerNames {
  GLuint colour;
  GLuint stencil;
  GLuint depth;
};

LayerNames PushWithCompanions(ColourLayerStack& stack) {
  ColourLayer& layer = stack.Push(BoundRenderbuffer());
  layer.stencil = BoundRenderbuffer();
  layer.depth = BoundRenderbuffer();
  return {layer.colour.Get(), layer.stencil.Get(), layer.depth.Get()};
}

bool AllLive(const LayerNames& names) {
  return IsRenderbuffer(names.colour) && IsRenderbuffer(names.stencil) && IsRenderbuffer(names.depth);
}

bool NoneLive(const LayerNames& names) {
  return !IsRenderbuffer(names.colour) && !IsRenderbuffer(names.stencil) && !IsRenderbuffer(names.depth);
}

TEST_F(ColourLayerStackTest, PopDeletesTheTopLayerWithItsCompanionsAndKeepsTheOthers) {
  ColourLayerStack stack;
  EXPECT_EQ(stack.Top(), 0u);
  std::vector<LayerNames> layers;
  // Enough layers to make the storage grow more than once.
  for (int i = 0; i < 9; ++i) layers.push_back(PushWithCompanions(stack));
  for (const LayerNames& layer : layers) EXPECT_TRUE(AllLive(layer)) << "layer " << layer.colour;
  EXPECT_EQ(stack.Top(), layers.back().colour);

  stack.Pop();
  EXPECT_TRUE(NoneLive(layers.back()));
  layers.pop_back();
  EXPECT_EQ(stack.Size(), layers.size());
  EXPECT_EQ(stack.Top(), layers.back().colour);
  for (const LayerNames& layer : layers) EXPECT_TRUE(AllLive(layer)) << "layer " << layer.colour;

  stack.Clear();
  EXPECT_TRUE(stack.Empty());
  EXPECT_EQ(stack.Top(), 0u);
  for (const LayerNames& layer : layers) EXPECT_TRUE(NoneLive(layer)) << "layer " << layer.colour;
  stack.Pop();  // empty: nothing
}

TEST_F(ColourLayerStackTest, TheStackDeletesItsLayersWhenItGoes) {
  LayerNames layer{};
  {
    ColourLayerStack stack;
    layer = PushWithCompanions(stack);
  }
  EXPECT_TRUE(NoneLive(layer));
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
