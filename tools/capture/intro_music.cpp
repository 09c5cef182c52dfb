#include "tools/capture/intro_music.h"

#include <algorithm>

#include "platform/resources.h"

namespace {

TTarnXMRenderOptions IntroOptions() {
  TTarnXMRenderOptions options;
  options.SampleRate = TIntroMusic::Rate;
  options.Stereo = TIntroMusic::Channels == 2;
  options.Interpolation = TTarnXMInterpolation::Sinc;
  options.Clipping = true;
  options.MasterVolume = 128;
  options.EndAction = TTarnXMEndAction::Loop;
  return options;
}

std::shared_ptr<const TTarnXMSong> IntroSong() {
  const platform::TResource* resource = platform::FindResource("msx", "#10");
  if (!resource) return nullptr;
  return LoadModule(resource->Data.data(), resource->Data.size()).Song;
}

}  // namespace

TIntroMusic::TIntroMusic() : Renderer(IntroSong(), IntroOptions()) {}

void TIntroMusic::Render(std::int16_t* out, std::size_t frames) {
  if (Loaded()) Renderer.Render(out, frames);
  else std::fill_n(out, frames * Channels, std::int16_t{0});
}
