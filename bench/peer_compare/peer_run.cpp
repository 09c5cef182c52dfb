#include <xmp.h>

#include <cmath>
#include <cstdint>

#include "bench/peer_compare/level_meter.h"
#include "bench/peer_compare/run.h"
#include "tools/xmp_peer/xmp_peer.h"

namespace {

// libxmp gives every channel's pitch as an Amiga period times 4096, whatever
// the format, against a clock of 428 × 8363 Hz (a plain C in a MOD reads 428,
// a linear XM's notes convert the same way).
constexpr double PeriodClock = 428.0 * 8363.0 * 4096.0;

class TPeerContext {
 public:
  TPeerContext() : Context(xmp_create_context()) {}
  ~TPeerContext() {
    if (Started) xmp_end_player(Context);
    if (Loaded) xmp_release_module(Context);
    xmp_free_context(Context);
  }
  TPeerContext(const TPeerContext&) = delete;
  TPeerContext& operator=(const TPeerContext&) = delete;

  xmp_context Context;
  bool Loaded = false;
  bool Started = false;
};

}  // namespace

TRun RunPeer(const std::vector<char>& module) {
  TRun run;
  TPeerContext peer;
  const double gain = PeerGain() * std::pow(10.0, DefaultGainDb / 20);
  peer.Loaded = xmp_load_module_from_memory(peer.Context, module.data(), static_cast<long>(module.size())) == 0;
  if (gain == 0 || !peer.Loaded) {
    run.Error = "libxmp cannot load it";
    return run;
  }
  peer.Started = xmp_start_player(peer.Context, CompareRate, 0) == 0;
  if (!peer.Started) {
    run.Error = "libxmp cannot play it";
    return run;
  }
  // The same interpolation and stereo width as the level reference.
  xmp_set_player(peer.Context, XMP_PLAYER_INTERP, XMP_INTERP_SPLINE);
  xmp_set_player(peer.Context, XMP_PLAYER_MIX, 100);
  xmp_module_info moduleInfo;
  xmp_get_module_info(peer.Context, &moduleInfo);
  run.Seconds = moduleInfo.num_sequences > 0 ? moduleInfo.seq_data[0].duration / 1000.0 : 0;
  const int channels = moduleInfo.mod->chn;
  TLevelMeter meter(CompareRate);
  std::vector<float> frames;
  xmp_frame_info info;
  while (meter.Samples < 2 * static_cast<std::int64_t>(LongestSeconds * CompareRate) &&
         xmp_play_frame(peer.Context) == 0) {
    xmp_get_frame_info(peer.Context, &info);
    if (info.loop_count > 0) break;
    TTickPitch& tick = run.Ticks.emplace_back();
    tick.Order = info.pos;
    tick.Row = info.row;
    for (int c = 0; c < channels && c < XMP_MAX_CHANNELS; ++c) {
      const xmp_channel_info& channel = info.channel_info[c];
      const bool sounding = channel.period > 0 && channel.volume > 0;
      tick.Hz.push_back(sounding ? PeriodClock / channel.period : 0.0);
    }
    const auto* values = static_cast<const std::int16_t*>(info.buffer);
    frames.resize(static_cast<std::size_t>(info.buffer_size / 2));
    for (std::size_t i = 0; i < frames.size(); ++i) frames[i] = static_cast<float>(values[i] / 32768.0 * gain);
    meter.Add(frames.data(), frames.size() / 2);
  }
  run.WindowRms = std::move(meter.WindowRms);
  run.Samples = meter.Samples;
  run.Clipped = meter.Clipped;
  return run;
}
