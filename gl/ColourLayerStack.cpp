#include "gl/ColourLayerStack.h"

#include <utility>

namespace Orvane::Lumisk {

ColourLayer& ColourLayerStack::Push(ScopedRenderbuffer colour) {
  layers.push_back(ColourLayer{std::move(colour), {}, {}});
  return layers.back();
}

void ColourLayerStack::Delete(ColourLayer& layer) {
  layer.colour.Reset();
  layer.stencil.Reset();
  layer.depth.Reset();
}

void ColourLayerStack::Pop() {
  if (layers.empty()) {
    return;
  }
  Delete(layers.back());
  layers.pop_back();
}

void ColourLayerStack::Clear() {
  for (ColourLayer& layer : layers) {
    Delete(layer);
  }
  layers.clear();
}

}  // namespace Orvane::Lumisk
