#pragma once
// A song as the module writer takes it: the fields an XM file stores, in the
// units a composer thinks in (sample lengths and loops in frames, envelope
// points as tick/value pairs), with no playback state.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TXmCell {
  std::uint8_t Note = 0;  // 1..96 = C-0..B-7, 97 = key off
  std::uint8_t Instrument = 0;
  std::uint8_t VolumeColumn = 0;
  std::uint8_t Effect = 0;
  std::uint8_t EffectParameter = 0;

  bool operator==(const TXmCell&) const = default;
};

struct TXmPattern {
  std::string Name;
  int Rows = 64;
  std::vector<TXmCell> Cells;  // Rows x channels, row after row
};

struct TXmEnvelopePoint {
  std::uint16_t Tick = 0;
  std::uint8_t Value = 0;  // 0..64
};

struct TXmEnvelope {
  std::vector<TXmEnvelopePoint> Points;  // at most 12
  bool Enabled = false;
  bool SustainEnabled = false;
  bool LoopEnabled = false;
  std::uint8_t SustainPoint = 0;
  std::uint8_t LoopStart = 0;
  std::uint8_t LoopEnd = 0;
};

enum class TXmLoop { None, Forward, PingPong };

struct TXmSample {
  std::string Name;
  // Values at 16-bit scale; an 8-bit sample stores the high byte of each.
  std::vector<std::int16_t> Data;
  bool SixteenBit = true;
  TXmLoop Loop = TXmLoop::None;
  std::uint32_t LoopStart = 0;   // frames
  std::uint32_t LoopLength = 0;  // frames
  std::uint8_t Volume = 64;
  std::int8_t FineTune = 0;
  std::uint8_t Panning = 128;
  std::int8_t RelativeNote = 0;
};

struct TXmInstrument {
  std::string Name;
  std::vector<TXmSample> Samples;
  std::array<std::uint8_t, 96> SampleMap{};  // sample index for notes 1..96
  TXmEnvelope VolumeEnvelope;
  TXmEnvelope PanningEnvelope;
  std::uint8_t VibratoType = 0;
  std::uint8_t VibratoSweep = 0;
  std::uint8_t VibratoDepth = 0;
  std::uint8_t VibratoRate = 0;
  std::uint16_t FadeOut = 0;
};

// The MIDI macro table: 9 global, 16 parametered and 128 fixed strings.
constexpr int XmMacroCount = 153;
constexpr int XmMacroBytes = 32;

struct TXmSong {
  std::string Name;
  std::string TrackerName = "driftlow-music";
  int Channels = 8;
  std::uint16_t RestartPosition = 0;
  bool LinearFrequency = true;
  bool ExtendedFilterRange = false;
  std::uint16_t Speed = 6;
  std::uint16_t Tempo = 125;
  std::vector<std::uint8_t> Orders;
  std::vector<TXmPattern> Patterns;
  std::vector<TXmInstrument> Instruments;  // instrument numbers 1, 2, ...
  std::vector<std::string> ChannelNames;   // written when not empty
  std::string Message;                     // "text" chunk when not empty
  std::vector<std::string> Macros;         // "MIDI" chunk when it holds XmMacroCount strings
};
