// Any bytes as a texture script. Every operation repaints a whole 256 x 256
// layer, some milliseconds under the sanitizers, so scripts that ask for more
// than a few are not run: the fuzzer is after unsafe reads, not slow pictures.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/input_limits.h"
#include "scene/texture_generator.h"
#include "scene/texture_operations.h"

namespace {

constexpr int MaxOperations = 8;

// The bytes after each operation code as the generator takes them (the layer
// first), only to count the operations that would paint.
std::size_t ParameterBytes(std::uint8_t op, std::span<const std::uint8_t> after) {
  constexpr std::size_t Fixed[] = {4, 1, 4, 5, 1, 1, 0, 1, 2, 1 + BitmapPictureBytes, 6, 5};
  constexpr std::uint8_t LayerControl = 6;
  constexpr std::uint8_t LayerFactor = 2;
  if (op == LayerControl) return after.size() > 1 && after[1] == LayerFactor ? 3 : 2;
  return op < std::size(Fixed) ? Fixed[op] : 0;
}

int PaintingOperations(std::span<const std::uint8_t> script) {
  int operations = 0;
  while (!script.empty()) {
    const std::uint8_t op = script.front();
    script = script.subspan(1);
    const std::size_t used = ParameterBytes(op, script);
    if (used > 0 && (script.empty() || script.front() < 3)) ++operations;
    script = script.subspan(std::min(used, script.size()));
  }
  return operations;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxTextureScriptInputBytes) return 0;
  const std::span<const std::uint8_t> script(data, size);
  if (PaintingOperations(script) > MaxOperations) return 0;
  RunTextureScript(script);
  return 0;
}
