#include "scene/texture_operations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

int Nearest(long double z) { return static_cast<int>(std::nearbyint(z)); }

std::uint8_t Tint(int grey, std::uint8_t component) { return static_cast<std::uint8_t>(grey * component / 255); }

void SetPixel(TexturePixels& pixels, std::size_t offset, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  pixels[offset] = red;
  pixels[offset + 1] = green;
  pixels[offset + 2] = blue;
}

void SetTinted(TexturePixels& pixels, std::size_t offset, int grey, TColor color) {
  SetPixel(pixels, offset, Tint(grey, color.Red), Tint(grey, color.Green), Tint(grey, color.Blue));
}

// 63.5 * sin(w / 256 * F * pi) for w = 0..256: the plasma's two terms depend
// on one coordinate each.
std::array<long double, TextureSize + 1> PlasmaTerms(std::uint8_t frequency) {
  std::array<long double, TextureSize + 1> terms;
  for (int w = 0; w <= TextureSize; ++w) terms[w] = 63.5L * std::sin(w / 256.0L * frequency * Pi);
  return terms;
}

std::uint8_t PlasmaGrey(long double termU, long double termV) {
  return static_cast<std::uint8_t>((Nearest(termU + termV) + 128) & 0xFF);
}

}  // namespace

void FillColor(TexturePixels& pixels, TColor color) {
  for (std::size_t offset = 0; offset < TextureBytes; offset += 3)
    SetPixel(pixels, offset, color.Red, color.Green, color.Blue);
}

void NoiseRGB(TexturePixels& pixels, TRandom& random) {
  for (std::size_t offset = 0; offset < TextureBytes; offset += 3) {
    const auto red = static_cast<std::uint8_t>(random.Below(255));
    const auto green = static_cast<std::uint8_t>(random.Below(255));
    const auto blue = static_cast<std::uint8_t>(random.Below(255));
    SetPixel(pixels, offset, red, green, blue);
  }
}

void NoiseMono(TexturePixels& pixels, TRandom& random, TColor color) {
  for (std::size_t offset = 0; offset < TextureBytes; offset += 3)
    SetTinted(pixels, offset, static_cast<int>(random.Below(256)), color);
}

void SinePlasma(TexturePixels& pixels, TColor color, std::uint8_t frequency) {
  const auto terms = PlasmaTerms(frequency);
  for (int y = 0; y < TextureSize; ++y)
    for (int x = 0; x < TextureSize; ++x) SetTinted(pixels, PixelOffset(x, y), PlasmaGrey(terms[x], terms[y]), color);
}

void SineRemap(TexturePixels& pixels) {
  std::array<std::uint8_t, 256> remap;
  for (int c = 0; c < 256; ++c)
    remap[c] = static_cast<std::uint8_t>((Nearest(127.0L * std::sin(c / 128.0L * Pi)) + 128) & 0xFF);
  for (std::uint8_t& value : pixels) value = remap[value];
}

// In place, columns outermost: pixels already visited in this pass give
// their new values to the ones after them.
void Blur(TexturePixels& pixels) {
  for (int x = 0; x < TextureSize; ++x) {
    const std::size_t centre = PixelOffset(x, 0);
    const std::size_t right = PixelOffset(x + 1, 0);
    const std::size_t left = PixelOffset(x - 1, 0);
    for (int y = 0; y < TextureSize; ++y) {
      const std::size_t row = PixelOffset(0, y);
      const std::size_t below = PixelOffset(0, y + 1);
      const std::size_t above = PixelOffset(0, y - 1);
      for (std::size_t c = 0; c < 3; ++c)
        pixels[row + centre + c] =
            static_cast<std::uint8_t>((pixels[row + centre + c] + pixels[row + right + c] + pixels[row + left + c] +
                                       pixels[below + centre + c] + pixels[above + centre + c]) /
                                      5);
    }
  }
}

void Invert(TexturePixels& pixels) {
  for (std::uint8_t& value : pixels) value = static_cast<std::uint8_t>(255 - value);
}

void Pixelate(TexturePixels& pixels, std::uint8_t blockSize) {
  const int n = std::max<int>(blockSize, 1);
  for (int x = 0; x < TextureSize; ++x)
    for (int y = 0; y < TextureSize; ++y) {
      const std::size_t from = PixelOffset(x - x % n, y - y % n);
      const std::size_t to = PixelOffset(x, y);
      SetPixel(pixels, to, pixels[from], pixels[from + 1], pixels[from + 2]);
    }
}

void Bitmap(TexturePixels& pixels, std::span<const std::uint8_t> picture) {
  constexpr std::size_t PixelCount = TextureBytes / 3;
  for (std::size_t i = 0; i < PixelCount; ++i) {
    // The picture holds no byte of its own for the last eight pixels.
    const std::size_t index = std::min(i / 8, BitmapPictureBytes - 1);
    const std::uint8_t byte = index < picture.size() ? picture[index] : 0;
    const std::uint8_t value = (byte >> (i % 8)) & 1 ? 255 : 0;
    SetPixel(pixels, i * 3, value, value, value);
  }
}

void WarpedPlasma(TexturePixels& pixels, TColor color, std::uint8_t frequency, std::uint8_t bend) {
  std::array<long double, TextureSize> waves;
  for (int k = 0; k < TextureSize; ++k) waves[k] = std::sin(bend * k / 256.0L * 2.0L * Pi);
  const auto terms = PlasmaTerms(frequency);
  // u and v lie in 0..256; the clamp keeps the table index in range whatever
  // the sine returns.
  const auto bent = [](long double value) { return std::clamp(Nearest(value), 0, TextureSize); };
  for (int y = 0; y < TextureSize; ++y)
    for (int x = 0; x < TextureSize; ++x) {
      const int u = bent(128.0L * waves[x] * waves[x] + 128.0L);
      const int v = bent(128.0L * waves[y] * waves[x] + 128.0L);
      SetTinted(pixels, PixelOffset(x, y), PlasmaGrey(terms[u], terms[v]), color);
    }
}

void RandomDots(TexturePixels& pixels, TRandom& random, TColor color, std::uint8_t count) {
  for (int i = 0; i < count; ++i) {
    const auto y = static_cast<int>(random.Below(256));
    const auto x = static_cast<int>(random.Below(256));
    SetPixel(pixels, PixelOffset(x, y), color.Red, color.Green, color.Blue);
  }
}
