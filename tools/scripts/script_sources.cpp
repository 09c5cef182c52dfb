#include "tools/scripts/script_sources.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <span>
#include <sstream>

namespace {

constexpr int PictureSize = 256;
constexpr std::size_t PictureBytes = 8191;

struct TOperation {
  std::string_view Name;
  std::uint8_t Code;
  // Bytes after the operation byte, written from the arguments as given.
  std::size_t MinArguments;
  std::size_t MaxArguments;
};

constexpr TOperation TextureOperations[] = {
    {"FillColor", 0, 4, 4}, {"NoiseRGB", 1, 1, 1}, {"NoiseMono", 2, 4, 4},     {"SinePlasma", 3, 5, 5},
    {"SineRemap", 4, 1, 1}, {"Blur", 5, 1, 1},     {"LayerControl", 6, 2, 3},  {"Invert", 7, 1, 1},
    {"Pixelate", 8, 2, 2},  {"Bitmap", 9, 0, 0},   {"WarpedPlasma", 10, 6, 6}, {"RandomDots", 11, 5, 5},
};

constexpr TOperation MeshOperations[] = {
    {"Cube", 0, 1, 1},    {"Grow", 1, 1, 1},
    {"Shrink", 2, 1, 1},  {"SmoothPositions", 3, 1, 1},
    {"Deform", 4, 1, 1},  {"SmoothTexCoords", 5, 1, 1},
    {"Spindle", 6, 1, 1},
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line.substr(0, line.find('#')));
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

template <typename T>
std::optional<T> Number(std::string_view word) {
  T value{};
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::optional<std::uint8_t> Byte(std::string_view word) {
  const auto value = Number<int>(word);
  if (!value || *value < 0 || *value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

// The bytes of a Bitmap line after its layer: the picture.
std::optional<std::vector<std::uint8_t>> Picture(const std::vector<std::string>& words, std::string& error) {
  if (words.size() != 5 || words[0] != "ring") {
    error = "a picture is \"ring CX CY INNER OUTER\"";
    return std::nullopt;
  }
  double values[4];
  for (std::size_t k = 0; k < 4; ++k) {
    const auto value = Number<double>(words[k + 1]);
    if (!value) {
      error = "not a number: " + words[k + 1];
      return std::nullopt;
    }
    values[k] = *value;
  }
  return RingPicture(values[0], values[1], values[2], values[3]);
}

// One line's bytes, once; sets error when the line is wrong.
std::vector<std::uint8_t> AssembleLine(std::span<const TOperation> table, const std::vector<std::string>& words,
                                       std::string& error) {
  const TOperation* operation = nullptr;
  for (const TOperation& candidate : table)
    if (candidate.Name == words[0]) operation = &candidate;
  if (!operation) {
    error = "unknown operation " + words[0];
    return {};
  }
  std::vector<std::uint8_t> bytes{operation->Code};
  const std::vector<std::string> arguments(words.begin() + 1, words.end());
  if (operation->Name == "Bitmap") {
    const auto layer = arguments.empty() ? std::nullopt : Byte(arguments[0]);
    if (!layer) {
      error = "Bitmap needs a layer and a picture";
      return {};
    }
    bytes.push_back(*layer);
    const auto picture = Picture(std::vector<std::string>(arguments.begin() + 1, arguments.end()), error);
    if (!picture) return {};
    bytes.insert(bytes.end(), picture->begin(), picture->end());
    return bytes;
  }
  if (arguments.size() < operation->MinArguments || arguments.size() > operation->MaxArguments) {
    error =
        words[0] + " takes " + std::to_string(operation->MinArguments) +
        (operation->MaxArguments > operation->MinArguments ? " or " + std::to_string(operation->MaxArguments) : "") +
        " arguments";
    return {};
  }
  for (const std::string& argument : arguments) {
    const auto byte = Byte(argument);
    if (!byte) {
      error = "not a byte: " + argument;
      return {};
    }
    bytes.push_back(*byte);
  }
  return bytes;
}

TAssembly Assemble(std::span<const TOperation> table, std::string_view source) {
  TAssembly assembly;
  std::istringstream lines{std::string(source)};
  int lineNumber = 0;
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;
    std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    int repeats = 1;
    if (words.size() > 1 && words.back().size() > 1 && words.back()[0] == 'x') {
      const auto count = Number<int>(std::string_view(words.back()).substr(1));
      if (!count || *count < 1) {
        assembly.Error = "line " + std::to_string(lineNumber) + ": bad repeat count " + words.back();
        return assembly;
      }
      repeats = *count;
      words.pop_back();
    }
    std::string error;
    const std::vector<std::uint8_t> bytes = AssembleLine(table, words, error);
    if (!error.empty()) {
      assembly.Error = "line " + std::to_string(lineNumber) + ": " + error;
      return assembly;
    }
    for (int k = 0; k < repeats; ++k) assembly.Bytes.insert(assembly.Bytes.end(), bytes.begin(), bytes.end());
  }
  return assembly;
}

}  // namespace

TAssembly AssembleTextureScript(std::string_view source) { return Assemble(TextureOperations, source); }

TAssembly AssembleMeshScript(std::string_view source) { return Assemble(MeshOperations, source); }

std::vector<std::uint8_t> RingPicture(double centreX, double centreY, double inner, double outer) {
  std::vector<std::uint8_t> picture(PictureBytes, 0);
  for (std::size_t i = 0; i < PictureBytes * 8; ++i) {
    const double x = static_cast<double>(i % PictureSize) + 0.5 - centreX;
    const double y = static_cast<double>(i / PictureSize) + 0.5 - centreY;
    const double distance = std::sqrt(x * x + y * y);
    if (distance >= inner && distance <= outer) picture[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
  }
  return picture;
}
