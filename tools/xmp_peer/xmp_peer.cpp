#include "tools/xmp_peer/xmp_peer.h"

#include <xmp.h>

#include <algorithm>
#include <cmath>

#include "tools/xm_writer/xm_writer.h"

namespace {

class TPeer {
 public:
  TPeer() : Context(xmp_create_context()) {}
  ~TPeer() {
    if (Started) xmp_end_player(Context);
    if (Loaded) xmp_release_module(Context);
    xmp_free_context(Context);
  }
  TPeer(const TPeer&) = delete;
  TPeer& operator=(const TPeer&) = delete;

  bool Load(const std::vector<std::uint8_t>& module) {
    Loaded = xmp_load_module_from_memory(Context, module.data(), static_cast<long>(module.size())) == 0;
    return Loaded;
  }

  int DurationMs() {
    xmp_module_info info;
    xmp_get_module_info(Context, &info);
    return info.num_sequences > 0 ? info.seq_data[0].duration : -1;
  }

  // Our mixer interpolates and keeps the full stereo width; ask the same.
  std::vector<float> Render(int rate, double gain) {
    std::vector<float> frames;
    Started = xmp_start_player(Context, rate, 0) == 0;
    if (!Started) return frames;
    xmp_set_player(Context, XMP_PLAYER_INTERP, XMP_INTERP_SPLINE);
    xmp_set_player(Context, XMP_PLAYER_MIX, 100);
    xmp_frame_info info;
    while (xmp_play_frame(Context) == 0) {
      xmp_get_frame_info(Context, &info);
      if (info.loop_count > 0) break;
      const auto* values = static_cast<const std::int16_t*>(info.buffer);
      for (int i = 0; i < info.buffer_size / 2; ++i) frames.push_back(static_cast<float>(values[i] / 32768.0 * gain));
    }
    return frames;
  }

 private:
  xmp_context Context;
  bool Loaded = false;
  bool Started = false;
};

// One channel, panned hard left, holding a constant half full scale (a
// waveform with edges would overshoot in the interpolation): our mixer puts
// it out at half full scale on the left.
std::vector<std::uint8_t> ReferenceModule() {
  TXmSong song;
  song.Channels = 1;
  song.Orders = {0};
  song.Patterns = {{"", 16, std::vector<TXmCell>(16)}};
  song.Patterns[0].Cells[0] = {49, 1, 0, 0x08, 0x00};
  TXmSample level;
  level.Data.assign(64, 16384);
  level.Loop = TXmLoop::Forward;
  level.LoopStart = 32;
  level.LoopLength = 32;
  TXmInstrument instrument;
  instrument.Samples = {level};
  song.Instruments = {instrument};
  return WriteXm(song).Bytes;
}

}  // namespace

double PeerGain() {
  static const double gain = [] {
    TPeer peer;
    if (!peer.Load(ReferenceModule())) return 0.0;
    const std::vector<float> frames = peer.Render(44100, 1.0);
    float peak = 0;
    for (std::size_t i = 0; i < frames.size(); i += 2) peak = std::max(peak, std::abs(frames[i]));
    return peak > 0 ? 0.5 / peak : 0.0;
  }();
  return gain;
}

int PeerDurationMs(const std::vector<std::uint8_t>& module) {
  TPeer peer;
  return peer.Load(module) ? peer.DurationMs() : -1;
}

TPeerRender PeerRender(const std::vector<std::uint8_t>& module, int rate) {
  TPeerRender render;
  render.Rate = rate;
  const double gain = PeerGain();
  TPeer peer;
  if (gain == 0.0 || !peer.Load(module)) {
    render.Error = "libxmp cannot load the module";
    return render;
  }
  render.Frames = peer.Render(rate, gain);
  if (render.Frames.empty()) render.Error = "libxmp rendered nothing";
  return render;
}
