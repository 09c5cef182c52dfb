#pragma once
// Songs built in memory for the sequencer, effect and envelope tests: cells
// set one at a time, instruments with one sample for every note, and the
// module driven tick by tick.
#include <cstdint>
#include <initializer_list>
#include <memory>

#include "player/module.h"

class TTestSong {
 public:
  // channels channels, patterns patterns of rows rows each, played in that
  // order; speed 6, tempo 125, linear periods, 44100 Hz.
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

  TTarnXMModule& Module() { return *Song; }
  TTarnXMChannel& Channel(int index = 0) { return *Song->Channels[index]; }

 private:
  std::unique_ptr<TTarnXMModule> Song = std::make_unique<TTarnXMModule>();
};

// A cell: note, instrument, volume column, effect, parameter.
TTarnXMPatternNote Note(int note, int instrument = 0, int volume = 0, int effect = 0, int parameter = 0);
// A cell with an effect alone.
TTarnXMPatternNote Effect(int effect, int parameter, int volume = 0);
