// Volume, note and trigger commands as the trackers play them. Each case is
// a small song whose last row is traced tick by tick; the sample position is
// set to 99 frames before every traced tick, so that a start shows as the
// frame it starts from.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/player/test_song.h"

namespace {

using E = TTarnXMEffect;
using X = TTarnXMExtendedEffect;

TTarnXMPatternNote Offset(int note, int parameter) { return Note(note, note ? 1 : 0, 0, E::SampleOffset, parameter); }

const TField FineTune = [](TTestSong& song) { return song.Channel().FineTune; };
const TField KeyOff = [](TTestSong& song) { return static_cast<std::int32_t>(song.Channel().KeyOff); };
const TField Envelope = [](TTestSong& song) { return song.Channel().VolumeEnvelope.Position; };
const TField Global = [](TTestSong& song) { return song.State().GlobalVolume; };
// Speed and tempo in one number: 31125 is speed 31, tempo 125.
const TField Tempo = [](TTestSong& song) { return 1000 * song.State().Speed + song.State().Tempo; };

struct TCase {
  const char* Name;
  TOrigin Origin;
  std::vector<TTarnXMPatternNote> Rows;
  TField Field;
  std::vector<std::int32_t> LastRow;  // from its first tick on
};

// Instrument 1 has volume 64, 2 volume 16, 3 a volume envelope.
TEST(TrackerVolume, CommandsPlayAsTheTrackersPlayThem) {
  const TTarnXMPatternNote slideDown = Note(49, 1, 0x30, E::VolumeSlide, 4);
  const TTarnXMPatternNote slideUp = Note(49, 1, 0, E::PortamentoUp, 4);
  const TCase cases[] = {
      {"key-off note", XM, {Note(49, 1), Note(97)}, Volume, {0}},
      {"K00", XM, {Note(49, 1), Effect(E::KeyOff, 0)}, Volume, {0}},
      {"key-off note with a volume", XM, {Note(49, 1), Note(97, 0, 0x30)}, Volume, {32}},
      {"key-off note, enveloped", XM, {Note(49, 3), Note(97)}, Volume, {64}},
      {"900 repeats", XM, {Offset(49, 8), Offset(49, 0)}, Frames, {2048}},
      {"9xx without note", XM, {Note(49, 1), Offset(0, 0x10)}, Frames, {99}},
      {"9xx without note is not kept", XM, {Offset(49, 0x10), Offset(0, 0x20), Offset(49, 0)}, Frames, {4096}},
      {"9xx by a portamento", XM, {Offset(49, 8), Note(50, 0, 0xF1, E::SampleOffset, 0x20)}, Frames, {99}},
      {"A21", XM, {Note(49, 1, 0x30, E::VolumeSlide, 0x21)}, Volume, {32, 34, 36, 38, 40, 42}},
      {"621", XM, {Note(49, 1, 0x30), Effect(E::VibratoVolumeSlide, 0x21)}, Volume, {32, 34}},
      {"H21", XM, {Effect(E::SetGlobalVolume, 0x20), Effect(E::GlobalVolumeSlide, 0x21)}, Global, {32, 34}},
      {"P21", XM, {Note(49, 1, 0, E::SetPanning, 0x80), Effect(E::PanningSlide, 0x21)}, Panning, {128, 130}},
      {"lone instrument", MOD("M.K."), {Note(49, 1, 0x30), Note(0, 2)}, Volume, {16}},
      {"lone instrument, 6CHN", MOD("6CHN"), {Note(49, 1, 0x30), Note(0, 2)}, Volume, {64}},
      {"lone instrument, 10CH", MOD("10CH"), {Note(49, 1, 0x30), Note(0, 2)}, Volume, {64}},
      {"lone instrument, XM", XM, {Note(49, 1, 0x30), Note(0, 2)}, Volume, {64}},
      {"ED3 with volume", XM, {Note(49, 1), Extended(X::NoteDelay, 3, 49, 0x20)}, Volume, {64, 64, 64, 16, 16}},
      {"E93", XM, {Note(49, 1), Extended(X::Retrigger, 3)}, Frames, {99, 99, 99, 0, 99}},
      {"E90", XM, {Note(49, 1), Extended(X::Retrigger, 0)}, Frames, {0, 99}},
      {"E93, ProTracker", MOD("M.K."), {Note(49, 1), Extended(X::Retrigger, 3)}, Frames, {0, 99, 99, 0}},
      {"E90, ProTracker", MOD("M.K."), {Note(49, 1), Extended(X::Retrigger, 0)}, Frames, {99}},
      {"R03", XM, {Note(49, 1), Effect(E::MultiRetrigger, 0x03)}, Frames, {99, 99, 99, 0}},
      {"R51", XM, {Note(49, 1, 0, E::MultiRetrigger, 0x51)}, Volume, {64, 48, 32, 16, 0}},
      {"E5F", XM, {Extended(X::SetFineTune, 0xF, 49)}, Period, {4608 - 56}},
      {"E50", XM, {Extended(X::SetFineTune, 0x0, 49)}, FineTune, {-128}},
      {"E5F without note", XM, {Note(49, 1), Extended(X::SetFineTune, 0xF)}, Period, {4608}},
      {"E57, ProTracker", MOD("M.K."), {Extended(X::SetFineTune, 0x7, 49)}, FineTune, {112}},
      {"E58, ProTracker", MOD("M.K."), {Extended(X::SetFineTune, 0x8, 49)}, FineTune, {-128}},
      {"EC0", XM, {Extended(X::NoteCut, 0, 49)}, Volume, {0}},
      {"K03", XM, {Note(49, 3, 0, E::KeyOff, 3)}, KeyOff, {0, 0, 0, 1, 1, 1}},
      {"K09", XM, {Note(49, 3, 0, E::KeyOff, 9)}, KeyOff, {0, 0, 0, 0, 0, 0}},
      {"F1F", XM, {Effect(E::SetSpeedTempo, 0x1F)}, Tempo, {31125}},
      {"F20", XM, {Effect(E::SetSpeedTempo, 0x20)}, Tempo, {6032}},
      {"T11", XM, {Note(49, 1, 0, E::Tremor, 0x11), Effect(E::Tremor, 0)}, VolumeDelta, {0, -64, -64, 0, 0, -64}},
      {"tremolo", XM, {Note(49, 1, 0, E::Tremolo, 0x4F), Effect(E::Tremolo, 0)}, VolumeDelta, {59}},
      {"tremolo, ProTracker", MOD("M.K."), {Note(49, 1, 0, E::Tremolo, 0x4F), Effect(E::Tremolo, 0)}, VolumeDelta, {0}},
      {"note: the envelope goes on", XM, {Note(49, 3), Note(49)}, Envelope, {7}},
      {"note and instrument: it restarts", XM, {Note(49, 3), Note(49, 3)}, Envelope, {1}},
      {"100, ProTracker", MOD("M.K."), {slideUp, Effect(E::PortamentoUp, 0)}, Period, {1632, 1632}},
      {"100, 6CHN", MOD("6CHN"), {slideUp, Effect(E::PortamentoUp, 0)}, Period, {1632, 1616}},
      {"A00, ProTracker", MOD("M.K."), {slideDown, Effect(E::VolumeSlide, 0)}, Volume, {12, 12}},
      {"500, ProTracker", MOD("M.K."), {slideDown, Effect(E::TonePortamentoVolumeSlide, 0)}, Volume, {12, 12}},
      {"500, XM", XM, {slideDown, Effect(E::TonePortamentoVolumeSlide, 0)}, Volume, {12, 8}},
  };
  for (const TCase& c : cases) {
    TTestSong song(1, 64);
    song.Instrument(1);
    song.Instrument(2);
    song.SampleOf(2).Volume = 16;
    TTarnXMEnvelope& envelope = song.Instrument(3).VolumeEnvelope;
    envelope.Enabled = true;
    envelope.NumPoints = 2;
    envelope.Points[1] = {100, 64};
    song.From(c.Origin);
    for (int row = 0; row < static_cast<int>(c.Rows.size()); ++row) song.Cell(0, row, 0, c.Rows[row]);
    song.Start();
    song.Tick(6 * (static_cast<int>(c.Rows.size()) - 1));
    EXPECT_EQ(song.TraceStarts(static_cast<int>(c.LastRow.size()), c.Field), c.LastRow) << c.Name;
  }
}

}  // namespace
