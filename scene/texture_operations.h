#pragma once
// The painting operations of the texture generator, each on one layer's
// pixels. Coordinates wrap, so the picture is a torus.
#include <cstdint>
#include <span>

#include "scene/random.h"
#include "scene/texture_layer.h"

struct TColor {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
};

// Bytes of a 1-bit picture: one bit per pixel but the last eight, which reuse
// the last byte.
constexpr std::size_t BitmapPictureBytes = 8191;

void FillColor(TexturePixels& pixels, TColor color);
void NoiseRGB(TexturePixels& pixels, TRandom& random);
void NoiseMono(TexturePixels& pixels, TRandom& random, TColor color);
void SinePlasma(TexturePixels& pixels, TColor color, std::uint8_t frequency);
void SineRemap(TexturePixels& pixels);
void Blur(TexturePixels& pixels);
void Invert(TexturePixels& pixels);
// A block size of 0 is taken as 1.
void Pixelate(TexturePixels& pixels, std::uint8_t blockSize);
// Reads the first 8,191 bytes of the picture; bytes missing from its end read
// as 0.
void Bitmap(TexturePixels& pixels, std::span<const std::uint8_t> picture);
void WarpedPlasma(TexturePixels& pixels, TColor color, std::uint8_t frequency, std::uint8_t bend);
void RandomDots(TexturePixels& pixels, TRandom& random, TColor color, std::uint8_t count);
