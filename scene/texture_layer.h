#pragma once
// One layer of the texture generator's stack, and the blend that composes
// layers onto a picture.
#include <array>
#include <cstddef>
#include <cstdint>

constexpr int TextureSize = 256;
constexpr std::size_t TextureBytes = std::size_t{TextureSize} * TextureSize * 3;

// Pixel (x, y) is pixel number x + 256 * y, red, green, blue.
using TexturePixels = std::array<std::uint8_t, TextureBytes>;

enum TBlendMode : std::uint8_t { BlendAdd = 0, BlendSubtract = 1, BlendMix = 2 };

struct TextureLayer {
  std::uint8_t Enabled = 1;
  TexturePixels Pixels{};
  std::uint8_t Mode = BlendAdd;
  std::uint8_t Factor = 255;
};

using TextureLayerStack = std::array<TextureLayer, 3>;

// Enabled, black, add, factor 255.
void ResetLayer(TextureLayer& layer);

// Blends the layer onto the picture by its mode and factor; a disabled layer
// leaves the picture as it is.
void BlendLayer(TexturePixels& picture, const TextureLayer& layer);

// Sets the picture to black, then blends layers 0, 1 and 2 onto it in order.
void ComposeLayers(TexturePixels& picture, const TextureLayerStack& layers);

// Byte offset of pixel (x, y), the coordinates wrapped onto the torus.
inline std::size_t PixelOffset(int x, int y) {
  return (static_cast<std::size_t>(x & (TextureSize - 1)) +
          static_cast<std::size_t>(y & (TextureSize - 1)) * TextureSize) *
         3;
}
