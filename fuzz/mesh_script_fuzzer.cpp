// Any bytes as a mesh script. The work is bounded before the script runs:
// shapes may add so many quads in all, and every whole-mesh operation counts
// the quads it may touch, so the fuzzer is after unsafe reads and undefined
// arithmetic, not big meshes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/input_limits.h"
#include "platform/fake_platform.h"
#include "scene/mesh_generator.h"

namespace {

// A cube of subdivision 8, and some ten operations on it.
constexpr std::size_t MaxQuads = 1536;
constexpr std::size_t MaxWork = 16384;

// Walks the script as the generator does: 0xFE alone, 0xFF with 25 bytes of
// clip box, every other code with one argument.
bool WithinBounds(std::span<const std::uint8_t> script) {
  std::size_t quads = 0;
  std::size_t work = 0;
  while (!script.empty()) {
    const std::uint8_t op = script.front();
    const std::size_t n = script.size() > 1 ? script[1] : 0;
    if (op == 0xFE) {
      script = script.subspan(1);
      continue;
    }
    if (op == 0xFF) {
      if (script.size() < 26) break;
      script = script.subspan(26);
      continue;
    }
    const std::size_t shapeQuads = op == 0 ? 24 * n * n : op == 6 ? 12 * n * n : 0;
    quads += shapeQuads;
    work += shapeQuads + quads;
    if (quads > MaxQuads || work > MaxWork) return false;
    script = script.subspan(std::min<std::size_t>(2, script.size()));
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxScriptInputBytes) return 0;
  // A clip box without its closing byte says so in a message box.
  static platform::TFakePlatform fake;
  platform::SetPlatform(&fake);
  fake.Calls.clear();
  fake.MessageBoxes.clear();
  fake.MessageBoxFlags.clear();
  const std::span<const std::uint8_t> script(data, size);
  if (!WithinBounds(script)) return 0;
  RunMeshScript(script);
  return 0;
}
