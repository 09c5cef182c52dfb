#include "tools/music_render/song_render.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tarnxm/tarnxm.h"

namespace {

constexpr std::size_t BufferFrames = 4096;
// A song that never comes round stops here.
constexpr double LongestSeconds = 3600;

TTarnXMRenderOptions IntroOptions(int rate, bool clipping) {
  TTarnXMRenderOptions options;
  options.SampleRate = rate;
  options.Stereo = true;
  options.Interpolation = TTarnXMInterpolation::Sinc;
  options.Clipping = clipping;
  options.MasterVolume = 128;
  options.Loops = 0;
  options.EndAction = TTarnXMEndAction::Stop;
  return options;
}

}  // namespace

TSongRender RenderSong(const std::vector<std::uint8_t>& module) {
  TSongRender render;
  const TTarnXMLoad load = LoadModule(module.data(), module.size());
  if (!load) {
    render.Error = "the player cannot load the module";
    return render;
  }
  // The value before clamping, exactly: 16-bit output without clipping keeps
  // its low 16 bits, float output (never clipped) its magnitude to far
  // better than 32768. The intro's sample is that value clamped.
  TTarnXMRenderer lowBits(load.Song, IntroOptions(render.Rate, false));
  TTarnXMRenderer magnitude(load.Song, IntroOptions(render.Rate, false));
  std::vector<std::int16_t> low(2 * BufferFrames);
  std::vector<float> high(2 * BufferFrames);
  const auto longest = static_cast<std::size_t>(LongestSeconds * render.Rate * 2);
  while (render.Samples.size() < longest) {
    const std::size_t frames = lowBits.Render(low.data(), BufferFrames);
    magnitude.Render(high.data(), BufferFrames);
    for (std::size_t k = 0; k < 2 * frames; ++k) {
      const double wraps = std::round((static_cast<double>(high[k]) * 32768.0 - low[k]) / 65536.0);
      const std::int64_t value = low[k] + 65536 * static_cast<std::int64_t>(wraps);
      render.Peak = std::max(render.Peak, std::abs(value));
      render.Samples.push_back(static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -32768, 32767)));
    }
    if (lowBits.Ended()) return render;
  }
  render.Error = "the song does not come round within an hour";
  return render;
}
