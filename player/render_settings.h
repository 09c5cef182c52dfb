#pragma once
// How the song is rendered: what the channels and the mixer need to know of
// the output, passed to them with each call.
#include <cstdint>

struct TTarnXMRenderSettings {
  // Interpolation settings, as the mixer numbers them.
  static constexpr std::uint8_t NoInterpolation = 0;
  static constexpr std::uint8_t LinearInterpolation = 1;
  static constexpr std::uint8_t CubicInterpolation = 2;
  static constexpr std::uint8_t SincInterpolation = 3;

  // The settings for sampleRate Hz (0 means 44100), stereo or mono: the ramp
  // length and click-removal divisor scaled from their 44100 Hz values.
  static TTarnXMRenderSettings For(std::int32_t sampleRate, bool stereo);

  std::int32_t SampleRate = 44100;
  std::int32_t OutputChannels = 2;
  std::int32_t RampLength = 128;  // frames of a volume ramp
  // The click-removal offsets fall by 1/DeclickDivisor per frame.
  std::int32_t DeclickDivisor = 256;
  std::uint8_t Interpolation = SincInterpolation;
  bool Clipping = true;
  std::int32_t MasterVolume = 128;  // 0..256
};
