// Any bytes as an XM or MOD module: the load either succeeds or leaves the
// module cleared with a reason, and a module that loads plays for up to two
// seconds through every interpolation. A quarter of the intro's rate makes
// four times the runs, and the larger steps through the samples reach their
// ends and loops sooner.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "player/player.h"

namespace {

constexpr std::int32_t Rate = 11025;
constexpr std::int32_t Frames = 1024;
constexpr int Buffers = 2 * Rate / Frames + 1;

void Check(bool promise) {
  if (!promise) std::abort();
}

void CheckCleared(const TTarnXMModule& module) {
  Check(!module.Loaded && module.LoadError != TTarnXMLoadError::None && module.SongLength == 0);
  for (const auto& instrument : module.Instruments) Check(instrument == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto player = TTarnXM::Create(Rate, Frames, true);
  static std::vector<std::int16_t> out(static_cast<std::size_t>(Frames) * 2);
  if (!player->Module.LoadFromMemory(data, size)) {
    CheckCleared(player->Module);
    return 0;
  }
  for (const std::uint8_t interpolation : {TTarnXM::NoInterpolation, TTarnXM::LinearInterpolation,
                                           TTarnXM::CubicInterpolation, TTarnXM::SincInterpolation}) {
    player->Interpolation = interpolation;
    player->Rewind();
    for (int b = 0; b < Buffers && !player->Module.SongEnded; ++b) player->RenderBuffer(out.data());
  }
  return 0;
}
