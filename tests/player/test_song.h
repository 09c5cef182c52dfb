#pragma once
// Songs built in memory for the sequencer, effect and envelope tests: cells
// set one at a time, instruments with one sample for every note, the file
// the song comes from, and an engine driven tick by tick without mixing,
// read field by field.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <vector>

#include "player/engine.h"

// Where a song comes from, which decides whose rules it plays by: an XM with
// linear or Amiga periods, or a MOD with its signature. Four-channel "M.K."
// MODs follow one tracker's rules, XMs and the other MODs the other's.
struct TOrigin {
  TTarnXMFormat Format;
  const char* Signature;
  bool LinearFrequency;
};
inline constexpr TOrigin XM{TTarnXMFormat::XM, "", true};
inline constexpr TOrigin AmigaXM{TTarnXMFormat::XM, "", false};
constexpr TOrigin MOD(const char* signature) { return {TTarnXMFormat::MOD, signature, false}; }
// "XM", "Amiga XM" or the signature, for failure messages.
std::ostream& operator<<(std::ostream& out, const TOrigin& origin);

class TTestSong;
// A number read from the song after a tick, mostly a field of channel 0.
using TField = std::function<std::int32_t(TTestSong&)>;

class TTestSong {
 public:
  // channels channels, patterns patterns of rows rows each, played in that
  // order; speed 6, tempo 125, linear periods, 44100 Hz stereo.
  explicit TTestSong(int channels = 1, int rows = 64, int patterns = 1);

  void From(const TOrigin& origin);
  void Orders(std::initializer_list<int> patterns);
  void Cell(int pattern, int row, int channel, const TTarnXMPatternNote& note);
  // Instrument number with sample 0 (volume 64, no relative note or
  // fine-tune, panning not used) mapped to every note.
  TTarnXMInstrument& Instrument(int number);
  TTarnXMSample& SampleOf(int number);

  // Rewinds playback; then Tick runs one sequencer tick.
  void Start();
  void Tick(int count = 1);
  // Ticks until the sequencer reports the song's end, at most limit ticks;
  // returns the ticks played before the end.
  int TicksToEnd(int limit = 100000);
  // Runs count ticks, reading field after each.
  std::vector<std::int32_t> Trace(int count, const TField& field);
  // The same with channel 0's sample position set to frame 99 before every
  // tick: ticks never move it, so a tick that starts the sample shows as the
  // frame it starts from.
  std::vector<std::int32_t> TraceStarts(int count, const TField& field);

  // The song being built: the module plays this very object, so changes
  // made after Start are heard.
  TTarnXMSong& Data() { return *Song; }
  TTarnXMModule& Module() { return Engine.Module; }
  TTarnXMPlayback& State() { return Engine.Module.State; }
  TTarnXMRenderSettings& Settings() { return Engine.Settings; }
  TTarnXMChannel& Channel(int index = 0) { return Engine.Module.State.Channels[index]; }

 private:
  std::vector<std::int32_t> Run(int count, const TField& field, bool markStarts);

  std::shared_ptr<TTarnXMSong> Song = std::make_shared<TTarnXMSong>();
  TTarnXMEngine Engine{TTarnXMRenderSettings::For(44100, true)};
};

// Fields of channel 0 to trace.
inline std::int32_t Period(TTestSong& song) { return song.Channel().Period; }
inline std::int32_t PeriodDelta(TTestSong& song) { return song.Channel().PeriodDelta; }
// The period heard: with the vibrato's, arpeggio's or glissando's offset.
inline std::int32_t Heard(TTestSong& song) { return song.Channel().Period + song.Channel().PeriodDelta; }
inline std::int32_t Frequency(TTestSong& song) { return song.Channel().Frequency; }
inline std::int32_t Volume(TTestSong& song) { return song.Channel().Volume; }
inline std::int32_t VolumeDelta(TTestSong& song) { return song.Channel().VolumeDelta; }
inline std::int32_t Panning(TTestSong& song) { return song.Channel().Panning; }
inline std::int32_t FilterCutoff(TTestSong& song) { return song.Channel().FilterCutoff; }
// The whole frame of the sample position.
inline std::int32_t Frames(TTestSong& song) { return static_cast<std::int32_t>(song.Channel().Position >> 32); }

// A row as the sequencer started it.
struct TRowStart {
  int Pattern;
  int Row;
  bool operator==(const TRowStart&) const = default;
};
void PrintTo(const TRowStart& start, std::ostream* out);
// The last channel of every pattern carries each row's number in its note
// field (no real note), so that the test sees which row a tick started.
void MarkRows(TTestSong& song, int patterns);
TRowStart Started(TTestSong& song);

// An effect by its name or by the number a file stores.
struct TEffectNumber {
  TEffectNumber(int number) : Number(number) {}
  TEffectNumber(TTarnXMEffect effect) : Number(static_cast<int>(effect)) {}
  int Number;
};

// A cell: note, instrument, volume column, effect, parameter.
TTarnXMPatternNote Note(int note, int instrument = 0, int volume = 0, TEffectNumber effect = 0, int parameter = 0);
// A cell with an effect alone.
TTarnXMPatternNote Effect(TEffectNumber effect, int parameter, int volume = 0);
// An extended command's cell: alone, or with a note of instrument 1.
TTarnXMPatternNote Extended(TTarnXMExtendedEffect command, int y, int note = 0, int volume = 0);
