#pragma once
// The texture generator: a byte script paints a stack of three layers, which
// are composed onto black and uploaded as a mipmapped 256 x 256 RGB texture.
#include <cstdint>
#include <memory>
#include <span>

#include "scene/random.h"
#include "scene/texture_layer.h"

// Runs the script on a freshly reset layer stack, with noise and dots drawn
// from `random`, and returns the composition. Operations naming a layer above
// 2 do nothing but use their parameter bytes; parameters missing at the
// script's end read as 0.
std::unique_ptr<TexturePixels> RunTextureScript(std::span<const std::uint8_t> script, TRandom& random);
// The same with a generator of its own from state 0, as the intro's texture
// is made.
std::unique_ptr<TexturePixels> RunTextureScript(std::span<const std::uint8_t> script);

// The layer stack as the last script left it.
const TextureLayerStack& TextureLayers();

// Runs the script and uploads the picture; returns the texture name, which is
// left bound to GL_TEXTURE_2D. Needs a current rendering context.
std::uint32_t GenerateTexture(std::span<const std::uint8_t> script);
