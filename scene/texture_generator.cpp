#include "scene/texture_generator.h"

#include <algorithm>

#include "platform/gl.h"
#include "scene/texture_operations.h"

namespace {

TextureLayerStack Layers;

enum TTextureOperation : std::uint8_t {
  OpFillColor = 0,
  OpNoiseRGB = 1,
  OpNoiseMono = 2,
  OpSinePlasma = 3,
  OpSineRemap = 4,
  OpBlur = 5,
  OpLayerControl = 6,
  OpInvert = 7,
  OpPixelate = 8,
  OpBitmap = 9,
  OpWarpedPlasma = 10,
  OpRandomDots = 11,
};

enum TLayerControl : std::uint8_t {
  LayerDisable = 0,
  LayerEnable = 1,
  LayerFactor = 2,
  LayerAdd = 3,
  LayerSubtract = 4,
  LayerMix = 5,
  LayerFlatten = 6,
};

// The bytes after an operation byte; those past the script's end read as 0.
class TParameters {
 public:
  explicit TParameters(std::span<const std::uint8_t> bytes) : Bytes(bytes) {}
  std::uint8_t operator[](std::size_t index) const { return index < Bytes.size() ? Bytes[index] : 0; }
  std::span<const std::uint8_t> From(std::size_t index) const { return Bytes.subspan(std::min(index, Bytes.size())); }
  TColor Color(std::size_t index) const { return {(*this)[index], (*this)[index + 1], (*this)[index + 2]}; }

 private:
  std::span<const std::uint8_t> Bytes;
};

std::size_t ParameterCount(std::uint8_t op, TParameters parameters) {
  switch (op) {
    case OpFillColor: return 4;
    case OpNoiseRGB: return 1;
    case OpNoiseMono: return 4;
    case OpSinePlasma: return 5;
    case OpSineRemap: return 1;
    case OpBlur: return 1;
    case OpLayerControl: return parameters[1] == LayerFactor ? 3 : 2;
    case OpInvert: return 1;
    case OpPixelate: return 2;
    case OpBitmap: return 1 + BitmapPictureBytes;
    case OpWarpedPlasma: return 6;
    case OpRandomDots: return 5;
    default: return 0;
  }
}

void Flatten(TextureLayer& target) {
  const auto buffer = std::make_unique<TexturePixels>();
  ComposeLayers(*buffer, Layers);
  for (TextureLayer& layer : Layers) layer.Pixels.fill(0);
  target.Pixels = *buffer;
}

void LayerControl(TextureLayer& layer, std::uint8_t subOperation, std::uint8_t value) {
  switch (subOperation) {
    case LayerDisable: layer.Enabled = 0; break;
    case LayerEnable: layer.Enabled = 1; break;
    case LayerFactor: layer.Factor = value; break;
    case LayerAdd: layer.Mode = BlendAdd; break;
    case LayerSubtract: layer.Mode = BlendSubtract; break;
    case LayerMix: layer.Mode = BlendMix; break;
    case LayerFlatten: Flatten(layer); break;
    default: break;
  }
}

void RunOperation(std::uint8_t op, TextureLayer& layer, TParameters p, TRandom& random) {
  TexturePixels& pixels = layer.Pixels;
  switch (op) {
    case OpFillColor: FillColor(pixels, p.Color(1)); break;
    case OpNoiseRGB: NoiseRGB(pixels, random); break;
    case OpNoiseMono: NoiseMono(pixels, random, p.Color(1)); break;
    case OpSinePlasma: SinePlasma(pixels, p.Color(1), p[4]); break;
    case OpSineRemap: SineRemap(pixels); break;
    case OpBlur: Blur(pixels); break;
    case OpLayerControl: LayerControl(layer, p[1], p[2]); break;
    case OpInvert: Invert(pixels); break;
    case OpPixelate: Pixelate(pixels, p[1]); break;
    case OpBitmap: Bitmap(pixels, p.From(1)); break;
    case OpWarpedPlasma: WarpedPlasma(pixels, p.Color(1), p[4], p[5]); break;
    case OpRandomDots: RandomDots(pixels, random, p.Color(1), p[4]); break;
    default: break;
  }
}

}  // namespace

std::unique_ptr<TexturePixels> RunTextureScript(std::span<const std::uint8_t> script, TRandom& random) {
  for (TextureLayer& layer : Layers) ResetLayer(layer);
  while (!script.empty()) {
    const std::uint8_t op = script.front();
    script = script.subspan(1);
    const TParameters parameters(script);
    const std::uint8_t layer = parameters[0];
    const std::size_t used = ParameterCount(op, parameters);
    if (used > 0 && layer < Layers.size()) RunOperation(op, Layers[layer], parameters, random);
    script = script.subspan(std::min(used, script.size()));
  }
  auto picture = std::make_unique<TexturePixels>();
  ComposeLayers(*picture, Layers);
  return picture;
}

std::unique_ptr<TexturePixels> RunTextureScript(std::span<const std::uint8_t> script) {
  TRandom random;
  return RunTextureScript(script, random);
}

const TextureLayerStack& TextureLayers() { return Layers; }

std::uint32_t GenerateTexture(std::span<const std::uint8_t> script) {
  const auto picture = RunTextureScript(script);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, TextureSize, TextureSize, GL_RGB, GL_UNSIGNED_BYTE, picture->data());
  return name;
}
