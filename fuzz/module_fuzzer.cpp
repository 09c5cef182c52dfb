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

// What the sequencer and the mixer take for granted in a loaded song; a
// broken promise need not read out of bounds at once to be a fault.
void CheckLoaded(const TTarnXMModule& module) {
  Check(module.SongLength >= 0 && module.SongLength <= TTarnXMModule::MaxOrders);
  Check(module.RestartPosition == 0 || module.RestartPosition < module.SongLength);
  Check(module.NumChannels >= 0 && module.NumChannels <= 255);
  for (const TTarnXMPattern& pattern : module.Patterns)
    Check(pattern.Notes.empty() ||
          pattern.Notes.size() == static_cast<std::size_t>(pattern.Rows + 1) * pattern.Channels);
  for (const auto& instrument : module.Instruments) {
    if (!instrument) continue;
    for (const TTarnXMEnvelope* envelope : {&instrument->VolumeEnvelope, &instrument->PanningEnvelope}) {
      Check(envelope->NumPoints >= 0 && envelope->NumPoints <= TTarnXMEnvelope::LoadedPoints);
      Check(!envelope->SustainEnabled || envelope->SustainPoint < envelope->NumPoints);
      Check(!envelope->LoopEnabled || envelope->LoopEnd < envelope->NumPoints);
    }
    for (const auto& sample : instrument->Samples) {
      if (!sample) continue;
      Check(sample->Length >= 0 && (sample->Length == 0 || sample->Data != nullptr));
      Check(!sample->Loop || (sample->LoopStart >= 0 && sample->LoopLength > 0 &&
                              std::int64_t{sample->LoopStart} + sample->LoopLength <= sample->Length));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto player = TTarnXM::Create(Rate, Frames, true);
  static std::vector<std::int16_t> out(static_cast<std::size_t>(Frames) * 2);
  if (!player->Module.LoadFromMemory(data, size)) {
    CheckCleared(player->Module);
    return 0;
  }
  CheckLoaded(player->Module);
  for (const std::uint8_t interpolation : {TTarnXM::NoInterpolation, TTarnXM::LinearInterpolation,
                                           TTarnXM::CubicInterpolation, TTarnXM::SincInterpolation}) {
    player->Interpolation = interpolation;
    player->Rewind();
    for (int b = 0; b < Buffers && !player->Module.SongEnded; ++b) player->RenderBuffer(out.data());
  }
  return 0;
}
