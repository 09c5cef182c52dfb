#include "scene/texture_layer.h"

#include <algorithm>

namespace {

template <TBlendMode Mode>
void Blend(TexturePixels& picture, const TexturePixels& pixels, int factor) {
  for (std::size_t i = 0; i < TextureBytes; ++i) {
    const int d = picture[i];
    const int s = pixels[i];
    int result;
    if constexpr (Mode == BlendAdd) result = std::min(255, d + s * factor / 255);
    else if constexpr (Mode == BlendSubtract) result = std::max(0, d - s * factor / 255);
    else result = std::min(255, s * factor / 255 + d * (255 - factor) / 255);
    picture[i] = static_cast<std::uint8_t>(result);
  }
}

}  // namespace

void ResetLayer(TextureLayer& layer) {
  layer.Enabled = 1;
  layer.Pixels.fill(0);
  layer.Mode = BlendAdd;
  layer.Factor = 255;
}

void BlendLayer(TexturePixels& picture, const TextureLayer& layer) {
  if (!layer.Enabled) return;
  switch (layer.Mode) {
    case BlendAdd: Blend<BlendAdd>(picture, layer.Pixels, layer.Factor); break;
    case BlendSubtract: Blend<BlendSubtract>(picture, layer.Pixels, layer.Factor); break;
    case BlendMix: Blend<BlendMix>(picture, layer.Pixels, layer.Factor); break;
  }
}

void ComposeLayers(TexturePixels& picture, const TextureLayerStack& layers) {
  picture.fill(0);
  for (const TextureLayer& layer : layers) BlendLayer(picture, layer);
}
