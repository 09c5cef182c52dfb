#pragma once
// The song in memory and its playback state: instruments 1..255, 256
// channels, 256 patterns, the order list, the MIDI macro table and the raw
// bytes of the extension chunks. The loaders are the only writers of the song.
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "player/channel.h"
#include "player/instrument.h"
#include "player/load_error.h"
#include "player/midi_config.h"
#include "player/pattern.h"
#include "player/stream.h"

class TTarnXM;

enum class TTarnXMFormat { None, XM, MOD };

class TTarnXMModule {
 public:
  static constexpr int MaxInstruments = 255;
  static constexpr int MaxChannels = 256;
  static constexpr int MaxPatterns = 256;
  static constexpr int MaxOrders = 256;
  static constexpr int FXStreams = 100;

  explicit TTarnXMModule(TTarnXM* player = nullptr);
  TTarnXMModule(const TTarnXMModule&) = delete;
  TTarnXMModule& operator=(const TTarnXMModule&) = delete;
  ~TTarnXMModule();

  // Empties the song (instruments freed, patterns, orders, texts and chunk
  // stores emptied, initial speed 6 and tempo 125), resets playback, sets
  // the macro defaults and leaves Loaded false.
  void Clear();
  // Rewinds playback to the song's start and resets every channel.
  void Reset();
  // One sequencer tick: the row's cells on its first tick, the effects on
  // every tick, then every channel in use updated for the mixer.
  void Tick();

  // Requests of the channels while a row is read: the pending jump that the
  // sequencer carries out once every channel has read the row.
  void RequestPositionJump(std::int32_t order);
  void RequestPatternBreak(std::int32_t row);
  void RequestPatternLoop(std::int32_t row);

  // The frequency model, linear or Amiga by LinearFrequency.
  std::int32_t PeriodFromNote(std::int32_t note, std::int32_t fineTune) const;
  std::int32_t NoteFromPeriod(std::int32_t period, std::int32_t fineTune) const;
  std::int32_t FrequencyFromPeriod(std::int32_t period, std::int32_t delta) const;

  // Loads an XM, or a MOD when the data is not XM. On failure the module is
  // left cleared and LoadError says why.
  bool LoadFromMemory(const void* data, std::size_t size);
  // The same for a resource of this program, looked up by name and type.
  bool LoadFromResource(std::string_view name, std::string_view type);

  // The instrument of that number (1..255): created when absent, cleared
  // when present.
  TTarnXMInstrument& NewInstrument(int number);

  // Copies text into macro slot target, cut to 32 bytes or zero-padded.
  void SetMacro(std::size_t target, std::string_view text);
  void DefaultMacros();

  TTarnXM* Player;
  std::string Name;
  std::string Comment;
  // Indexed by instrument number; slot 0 always stays empty.
  std::array<std::unique_ptr<TTarnXMInstrument>, MaxInstruments + 1> Instruments;
  std::array<std::unique_ptr<TTarnXMChannel>, MaxChannels> Channels;
  std::array<TTarnXMPattern, MaxPatterns> Patterns;
  std::array<std::uint8_t, MaxOrders> Orders{};
  std::int32_t GlobalVolume = 64;
  std::int32_t MasterVolume = 128;
  std::int32_t TickCounter = 0;
  std::int32_t PatternDelayCount = 0;
  std::uint8_t Speed = 6;
  std::uint8_t Tempo = 125;
  std::uint8_t InitialSpeed = 6;
  std::uint8_t InitialTempo = 125;
  std::int32_t JumpOrder = 0;
  std::int32_t JumpRow = 0;
  bool JumpPending = false;
  bool JumpIsLoop = false;  // the pending jump is a pattern loop's
  std::int32_t MixRate = 0;
  std::int32_t OrderPosition = 0;
  std::int32_t Row = 0;
  std::uint8_t CurrentPattern = 0;
  std::int32_t SongLength = 0;
  std::int32_t RestartPosition = 0;
  bool LinearFrequency = true;
  bool ExtendedFilterRange = false;
  std::int32_t NumChannels = 0;
  bool Loaded = false;
  std::int64_t DeclickLeft = 0;  // click-removal offsets, decayed by the player
  std::int64_t DeclickRight = 0;
  std::int32_t TickLength = 0;
  TTarnXMMidiConfig MidiConfig{};
  bool MidiConfigLoaded = false;
  std::int32_t RampLength = 128;
  // Set when a row is about to start again that already started since the
  // last Reset, other than by a pattern loop: the end of the song for a
  // single rendering. Playback itself goes on.
  bool SongEnded = false;
  // Rows started since the last Reset, by order; rows from 256 on hold no
  // cells and are only reached through the row before them, so they need no
  // entry.
  std::array<std::bitset<256>, MaxOrders> PlayedRows{};
  TTarnXMStream EQFXData;
  TTarnXMStream MODUData;
  std::array<TTarnXMStream, FXStreams> FXData;

  // What the last load found, for tools: the format, the XM version word or
  // the MOD signature (empty in the 15-sample form), the number of patterns
  // the file holds (at most 256) and, after a failure, the reason.
  TTarnXMFormat Format = TTarnXMFormat::None;
  std::uint16_t FormatVersion = 0;
  std::string Signature;
  std::int32_t NumPatterns = 0;
  TTarnXMLoadError LoadError = TTarnXMLoadError::None;
};
