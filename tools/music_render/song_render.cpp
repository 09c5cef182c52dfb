#include "tools/music_render/song_render.h"

#include <algorithm>
#include <cstdlib>

#include "player/player.h"

namespace {

// Short buffers: a tick (several hundred frames) starts at most once in one,
// so the song's end can be placed exactly.
constexpr std::int32_t BufferFrames = 256;
// A song that never comes round stops here.
constexpr double LongestSeconds = 3600;

}  // namespace

TSongRender RenderSong(const std::vector<std::uint8_t>& module) {
  TSongRender render;
  std::unique_ptr<TTarnXM> player = TTarnXM::Create(render.Rate, BufferFrames, true);
  player->Interpolation = TTarnXM::SincInterpolation;
  player->Clipping = true;
  player->Module.MasterVolume = 128;
  if (!player->Module.LoadFromMemory(module.data(), module.size())) {
    render.Error = "the player cannot load the module";
    return render;
  }
  player->Rewind();
  std::vector<std::int16_t> buffer(2 * BufferFrames);
  while (render.Samples.size() < LongestSeconds * render.Rate * 2) {
    player->RenderBuffer(buffer.data());
    for (const std::int64_t value : player->MixBuffer) render.Peak = std::max(render.Peak, std::abs(value / 2048));
    render.Samples.insert(render.Samples.end(), buffer.begin(), buffer.end());
    if (player->Module.SongEnded) {
      // The tick that found the song's end began this many frames ago.
      const std::size_t into = static_cast<std::size_t>(player->SamplesPerTick - player->TickSamplesLeft);
      render.Samples.resize(render.Samples.size() - 2 * std::min<std::size_t>(into, BufferFrames));
      return render;
    }
  }
  render.Error = "the song does not come round within an hour";
  return render;
}
