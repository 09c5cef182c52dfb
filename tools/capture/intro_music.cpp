#include "tools/capture/intro_music.h"

#include <algorithm>

#include "player/player.h"
#include "scene/random.h"

TIntroMusic::TIntroMusic(std::uint32_t randomState)
    : Player(TTarnXM::Create(Rate, BufferFrames, Channels == 2)),
      Buffer(static_cast<std::size_t>(BufferFrames) * Channels),
      BufferUsed(Buffer.size()) {
  Player->Interpolation = TTarnXM::SincInterpolation;
  Player->Clipping = true;
  Player->Module.MasterVolume = 128;
  Loaded_ = Player->Module.LoadFromResource("msx", "#10");
  Player->Rewind();
  SetRandomState(randomState);
}

TIntroMusic::~TIntroMusic() = default;

void TIntroMusic::Render(std::int16_t* out, std::size_t frames) {
  std::size_t values = frames * Channels;
  if (!Loaded_) {
    std::fill_n(out, values, std::int16_t{0});
    return;
  }
  while (values > 0) {
    if (BufferUsed == Buffer.size()) {
      Player->RenderBuffer(Buffer.data());
      BufferUsed = 0;
    }
    const std::size_t take = std::min(values, Buffer.size() - BufferUsed);
    out = std::copy_n(Buffer.begin() + static_cast<std::ptrdiff_t>(BufferUsed), take, out);
    BufferUsed += take;
    values -= take;
  }
}
