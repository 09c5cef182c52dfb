#pragma once
// Songs built in memory for the sequencer, effect and envelope tests: cells
// set one at a time, instruments with one sample for every note, and an
// engine driven tick by tick without mixing.
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "player/engine.h"

class TTestSong {
 public:
  // channels channels, patterns patterns of rows rows each, played in that
  // order; speed 6, tempo 125, linear periods, 44100 Hz stereo.
  explicit TTestSong(int channels = 1, int rows = 64, int patterns = 1);

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

  // The song being built: the module plays this very object, so changes
  // made after Start are heard.
  TTarnXMSong& Data() { return *Song; }
  TTarnXMModule& Module() { return Engine.Module; }
  TTarnXMPlayback& State() { return Engine.Module.State; }
  TTarnXMRenderSettings& Settings() { return Engine.Settings; }
  TTarnXMChannel& Channel(int index = 0) { return Engine.Module.State.Channels[index]; }

 private:
  std::shared_ptr<TTarnXMSong> Song = std::make_shared<TTarnXMSong>();
  TTarnXMEngine Engine{TTarnXMRenderSettings::For(44100, true)};
};

// A cell: note, instrument, volume column, effect, parameter.
TTarnXMPatternNote Note(int note, int instrument = 0, int volume = 0, int effect = 0, int parameter = 0);
// A cell with an effect alone.
TTarnXMPatternNote Effect(int effect, int parameter, int volume = 0);
