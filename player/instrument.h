#pragma once
// An instrument: up to 256 samples chosen per note through SampleMap, the two
// envelopes, fade-out and auto-vibrato.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "player/envelope.h"
#include "player/sample.h"

class TTarnXMInstrument {
 public:
  static constexpr int MaxSamples = 256;
  static constexpr int MappedNotes = 96;

  // Frees the samples and zeroes everything except Name, which the loaders
  // always assign.
  void Clear();
  // The sample in slot index (0..255): created when the slot is empty,
  // cleared when it is not.
  TTarnXMSample& NewSample(int index);

  std::string Name;
  std::array<std::unique_ptr<TTarnXMSample>, MaxSamples> Samples;
  // Entry n - 1 is the sample index for note n (1..96).
  std::array<std::uint8_t, MappedNotes> SampleMap{};
  TTarnXMEnvelope VolumeEnvelope;
  TTarnXMEnvelope PanningEnvelope;
  std::int32_t FadeOut = 0;
  std::int32_t VibratoType = 0;
  std::int32_t VibratoSweep = 0;
  std::int32_t VibratoDepth = 0;
  std::int32_t VibratoRate = 0;
};
