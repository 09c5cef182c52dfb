#include "tests/player/test_song.h"

TTestSong::TTestSong(int channels, int rows, int patterns) {
  Song->NumChannels = channels;
  for (int p = 0; p < patterns; ++p) Song->Patterns[p].SetSize(rows, static_cast<std::uint8_t>(channels));
  Song->SongLength = patterns;
  for (int p = 0; p < patterns; ++p) Song->Orders[p] = static_cast<std::uint8_t>(p);
  Engine.Module.SetSong(Song);
  Engine.Rewind();
}

void TTestSong::Orders(std::initializer_list<int> patterns) {
  Song->SongLength = static_cast<std::int32_t>(patterns.size());
  int k = 0;
  for (const int pattern : patterns) Song->Orders[k++] = static_cast<std::uint8_t>(pattern);
}

void TTestSong::Cell(int pattern, int row, int channel, const TTarnXMPatternNote& note) {
  Song->Patterns[pattern].SetNote(row, channel, note);
}

TTarnXMInstrument& TTestSong::Instrument(int number) {
  TTarnXMInstrument& instrument = Song->NewInstrument(number);
  TTarnXMSample& sample = instrument.NewSample(0);
  sample.UsePanning = false;
  return instrument;
}

TTarnXMSample& TTestSong::SampleOf(int number) { return *Song->Instruments[number]->Samples[0]; }

void TTestSong::Start() { Engine.Rewind(); }

void TTestSong::Tick(int count) {
  for (int k = 0; k < count; ++k) Engine.DoTick();
}

int TTestSong::TicksToEnd(int limit) {
  for (int ticks = 0; ticks < limit; ++ticks) {
    Engine.DoTick();
    if (Engine.Module.State.SongEnded) return ticks;
  }
  return limit;
}

TTarnXMPatternNote Note(int note, int instrument, int volume, int effect, int parameter) {
  return {note, instrument, volume, effect, parameter};
}

TTarnXMPatternNote Effect(int effect, int parameter, int volume) { return {0, 0, volume, effect, parameter}; }
