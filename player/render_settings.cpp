#include "player/render_settings.h"

#include <algorithm>

TTarnXMRenderSettings TTarnXMRenderSettings::For(std::int32_t sampleRate, bool stereo) {
  TTarnXMRenderSettings settings;
  settings.SampleRate = sampleRate == 0 ? 44100 : sampleRate;
  settings.OutputChannels = stereo ? 2 : 1;
  settings.RampLength = static_cast<std::int32_t>(std::int64_t{settings.SampleRate} * 128 / 44100);
  settings.DeclickDivisor =
      static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{settings.SampleRate} * 256 / 44100, 2));
  return settings;
}
