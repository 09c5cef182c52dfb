#include "tests/player/test_song.h"

#include <ostream>

std::ostream& operator<<(std::ostream& out, const TOrigin& origin) {
  if (origin.Format == TTarnXMFormat::MOD) return out << origin.Signature;
  return out << (origin.LinearFrequency ? "XM" : "Amiga XM");
}

TTestSong::TTestSong(int channels, int rows, int patterns) {
  Song->NumChannels = channels;
  for (int p = 0; p < patterns; ++p) Song->Patterns[p].SetSize(rows, static_cast<std::uint8_t>(channels));
  Song->SongLength = patterns;
  for (int p = 0; p < patterns; ++p) Song->Orders[p] = static_cast<std::uint8_t>(p);
  Engine.Module.SetSong(Song);
  Engine.Rewind();
}

void TTestSong::From(const TOrigin& origin) {
  Song->Format = origin.Format;
  Song->Signature = origin.Signature;
  Song->LinearFrequency = origin.LinearFrequency;
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

std::vector<std::int32_t> TTestSong::Trace(int count, const TField& field) { return Run(count, field, false); }

std::vector<std::int32_t> TTestSong::TraceStarts(int count, const TField& field) { return Run(count, field, true); }

std::vector<std::int32_t> TTestSong::Run(int count, const TField& field, bool markStarts) {
  std::vector<std::int32_t> values;
  for (int k = 0; k < count; ++k) {
    if (markStarts) Channel().Position = std::int64_t{99} << 32;
    Engine.DoTick();
    values.push_back(field(*this));
  }
  return values;
}

void PrintTo(const TRowStart& start, std::ostream* out) { *out << "(" << start.Pattern << "," << start.Row << ")"; }

void MarkRows(TTestSong& song, int patterns) {
  const int marker = song.Data().NumChannels - 1;
  for (int p = 0; p < patterns; ++p)
    for (int row = 0; row < song.Data().Patterns[p].Rows; ++row) song.Cell(p, row, marker, Note(1000 + row));
}

TRowStart Started(TTestSong& song) {
  return {song.State().CurrentPattern, song.Channel(song.Data().NumChannels - 1).Note - 1000};
}

TTarnXMPatternNote Note(int note, int instrument, int volume, TEffectNumber effect, int parameter) {
  return {note, instrument, volume, effect.Number, parameter};
}

TTarnXMPatternNote Effect(TEffectNumber effect, int parameter, int volume) {
  return Note(0, 0, volume, effect, parameter);
}

TTarnXMPatternNote Extended(TTarnXMExtendedEffect command, int y, int note, int volume) {
  return Note(note, note != 0 ? 1 : 0, volume, TTarnXMEffect::Extended, static_cast<int>(command) << 4 | y);
}
