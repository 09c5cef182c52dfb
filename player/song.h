#pragma once
// The song as a loader leaves it: instruments 1..255, 256 patterns, the order
// list, what the file says of each channel, the MIDI macro table, the texts,
// the raw bytes of the extension chunks and what the load found. Nothing
// changes a song once it is loaded; playback reads it through a pointer to
// const and keeps its own state apart.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "player/instrument.h"
#include "player/load_error.h"
#include "player/midi_config.h"
#include "player/pattern.h"
#include "player/stream.h"
#include "tarnxm/tarnxm.h"

// What the file says of one channel.
struct TTarnXMChannelSettings {
  std::string Name;
  std::int32_t DefaultPanning = 128;  // where a rewind puts the channel
  std::uint32_t EffectSlot = 0;       // from the channel-effect chunk; kept, not played
};

class TTarnXMSong {
 public:
  static constexpr int MaxInstruments = 255;
  static constexpr int MaxChannels = 256;
  static constexpr int MaxPatterns = 256;
  static constexpr int MaxOrders = 256;
  static constexpr int FXStreams = 100;

  // An empty song: speed 6, tempo 125, linear periods, the default macros.
  TTarnXMSong();
  TTarnXMSong(const TTarnXMSong&) = delete;
  TTarnXMSong& operator=(const TTarnXMSong&) = delete;

  // The instrument of that number (1..255): created when absent, cleared
  // when present.
  TTarnXMInstrument& NewInstrument(int number);
  // The instrument of that number, or none (also for numbers outside 1..255).
  const TTarnXMInstrument* InstrumentAt(std::int32_t number) const;

  // Copies text into macro slot target, cut to 32 bytes or zero-padded.
  void SetMacro(std::size_t target, std::string_view text);
  void DefaultMacros();

  // The frequency model, linear or Amiga by LinearFrequency.
  std::int32_t PeriodFromNote(std::int32_t note, std::int32_t fineTune) const;
  std::int32_t NoteFromPeriod(std::int32_t period, std::int32_t fineTune) const;
  std::int32_t FrequencyFromPeriod(std::int32_t period, std::int32_t delta) const;

  // NumChannels held within 0..256, for loops over the channels.
  std::int32_t PlayedChannels() const;

  std::string Name;
  std::string Comment;
  // Indexed by instrument number; slot 0 always stays empty.
  std::array<std::unique_ptr<TTarnXMInstrument>, MaxInstruments + 1> Instruments;
  std::array<TTarnXMPattern, MaxPatterns> Patterns;
  std::array<std::uint8_t, MaxOrders> Orders{};
  std::array<TTarnXMChannelSettings, MaxChannels> ChannelSettings;
  std::uint8_t InitialSpeed = 6;
  std::uint8_t InitialTempo = 125;
  std::int32_t SongLength = 0;
  std::int32_t RestartPosition = 0;
  bool LinearFrequency = true;
  bool ExtendedFilterRange = false;
  std::int32_t NumChannels = 0;
  TTarnXMMidiConfig MidiConfig{};
  bool MidiConfigLoaded = false;
  TTarnXMStream EQFXData;
  TTarnXMStream MODUData;
  std::array<TTarnXMStream, FXStreams> FXData;

  // What the load found: the format, the XM version word or the MOD
  // signature (empty in the 15-sample form) and the number of patterns the
  // file holds (at most 256).
  TTarnXMFormat Format = TTarnXMFormat::None;
  std::uint16_t FormatVersion = 0;
  std::string Signature;
  std::int32_t NumPatterns = 0;
};
