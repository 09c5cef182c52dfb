#pragma once
// The intro's music rendered offline, sample for sample as the intro's player
// feeds the sound card: the embedded module at 44100 Hz stereo in buffers of
// 2048 frames, windowed-FIR interpolation, clipping on, master volume 128,
// from the song's start.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TTarnXM;

class TIntroMusic {
 public:
  static constexpr int Rate = 44100;
  static constexpr int Channels = 2;
  static constexpr int BufferFrames = 2048;

  // randomState: the process-wide generator's state when the intro's player
  // starts, that is after the start-up has made the texture. The player's
  // random waveforms draw from it, so nothing else may draw while it renders.
  explicit TIntroMusic(std::uint32_t randomState);
  ~TIntroMusic();
  TIntroMusic(const TIntroMusic&) = delete;
  TIntroMusic& operator=(const TIntroMusic&) = delete;

  // False when the module did not load; the intro is silent then, and so is
  // what Render gives.
  bool Loaded() const { return Loaded_; }

  // The next `frames` frames, left and right interleaved.
  void Render(std::int16_t* out, std::size_t frames);

 private:
  std::unique_ptr<TTarnXM> Player;
  bool Loaded_ = false;
  std::vector<std::int16_t> Buffer;
  std::size_t BufferUsed;
};
