// Volume, note and trigger commands as the trackers play them. Each case is
// a small song whose last row is traced tick by tick; the sample position is
// set to 99 frames before every traced tick, so that a start shows as the
// frame it starts from.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "tests/player/test_song.h"

namespace {

using E = TTarnXMEffect;
using X = TTarnXMExtendedEffect;
using TField = std::function<std::int32_t(TTestSong&)>;

// The MOD signature, none for an XM.
constexpr const char* XM = "";
constexpr const char* PT = "M.K.";
constexpr const char* Six = "6CHN";

TTarnXMPatternNote Cell(int note, int instrument, int volume, E effect, int parameter) {
  return {note, instrument, volume, static_cast<int>(effect), parameter};
}
TTarnXMPatternNote Command(E effect, int parameter) { return Cell(0, 0, 0, effect, parameter); }
TTarnXMPatternNote Extended(int note, int volume, X command, int y) {
  return Cell(note, note ? 1 : 0, volume, E::Extended, static_cast<int>(command) << 4 | y);
}
TTarnXMPatternNote Offset(int note, int parameter) { return Cell(note, note ? 1 : 0, 0, E::SampleOffset, parameter); }

const TField Volume = [](TTestSong& song) { return song.Channel().Volume; };
const TField Period = [](TTestSong& song) { return song.Channel().Period; };
const TField Panning = [](TTestSong& song) { return song.Channel().Panning; };
const TField FineTune = [](TTestSong& song) { return song.Channel().FineTune; };
const TField KeyOff = [](TTestSong& song) { return static_cast<std::int32_t>(song.Channel().KeyOff); };
const TField Frames = [](TTestSong& song) { return static_cast<std::int32_t>(song.Channel().Position >> 32); };
const TField VolumeDelta = [](TTestSong& song) { return song.Channel().VolumeDelta; };
const TField Envelope = [](TTestSong& song) { return song.Channel().VolumeEnvelope.Position; };
const TField Global = [](TTestSong& song) { return song.State().GlobalVolume; };
// Speed and tempo in one number: 31125 is speed 31, tempo 125.
const TField Tempo = [](TTestSong& song) { return 1000 * song.State().Speed + song.State().Tempo; };

struct TCase {
  const char* Name;
  const char* Signature;
  std::vector<TTarnXMPatternNote> Rows;
  TField Field;
  std::vector<std::int32_t> LastRow;  // from its first tick on
};

// Instrument 1 has volume 64, 2 volume 16, 3 a volume envelope.
TEST(TrackerVolume, CommandsPlayAsTheTrackersPlayThem) {
  const TTarnXMPatternNote slideDown = Cell(49, 1, 0x30, E::VolumeSlide, 4);
  const TCase cases[] = {
      {"key-off note", XM, {Note(49, 1), Note(97)}, Volume, {0}},
      {"K00", XM, {Note(49, 1), Command(E::KeyOff, 0)}, Volume, {0}},
      {"key-off note with a volume", XM, {Note(49, 1), Note(97, 0, 0x30)}, Volume, {32}},
      {"key-off note, enveloped", XM, {Note(49, 3), Note(97)}, Volume, {64}},
      {"900 repeats", XM, {Offset(49, 8), Offset(49, 0)}, Frames, {2048}},
      {"9xx without note", XM, {Note(49, 1), Offset(0, 0x10)}, Frames, {99}},
      {"9xx without note is not kept", XM, {Offset(49, 0x10), Offset(0, 0x20), Offset(49, 0)}, Frames, {4096}},
      {"9xx by a portamento", XM, {Offset(49, 8), Cell(50, 0, 0xF1, E::SampleOffset, 0x20)}, Frames, {99}},
      {"A21", XM, {Cell(49, 1, 0x30, E::VolumeSlide, 0x21)}, Volume, {32, 34, 36, 38, 40, 42}},
      {"621", XM, {Note(49, 1, 0x30), Command(E::VibratoVolumeSlide, 0x21)}, Volume, {32, 34}},
      {"H21", XM, {Command(E::SetGlobalVolume, 0x20), Command(E::GlobalVolumeSlide, 0x21)}, Global, {32, 34}},
      {"P21", XM, {Cell(49, 1, 0, E::SetPanning, 0x80), Command(E::PanningSlide, 0x21)}, Panning, {128, 130}},
      {"lone instrument", PT, {Note(49, 1, 0x30), Note(0, 2)}, Volume, {16}},
      {"lone instrument, 6CHN", Six, {Note(49, 1, 0x30), Note(0, 2)}, Volume, {64}},
      {"lone instrument, 10CH", "10CH", {Note(49, 1, 0x30), Note(0, 2)}, Volume, {64}},
      {"lone instrument, XM", XM, {Note(49, 1, 0x30), Note(0, 2)}, Volume, {64}},
      {"ED3 with volume", XM, {Note(49, 1), Extended(49, 0x20, X::NoteDelay, 3)}, Volume, {64, 64, 64, 16, 16}},
      {"E93", XM, {Note(49, 1), Extended(0, 0, X::Retrigger, 3)}, Frames, {99, 99, 99, 0, 99}},
      {"E90", XM, {Note(49, 1), Extended(0, 0, X::Retrigger, 0)}, Frames, {0, 99}},
      {"E93, ProTracker", PT, {Note(49, 1), Extended(0, 0, X::Retrigger, 3)}, Frames, {0, 99, 99, 0}},
      {"E90, ProTracker", PT, {Note(49, 1), Extended(0, 0, X::Retrigger, 0)}, Frames, {99}},
      {"R03", XM, {Note(49, 1), Command(E::MultiRetrigger, 0x03)}, Frames, {99, 99, 99, 0}},
      {"R51", XM, {Cell(49, 1, 0, E::MultiRetrigger, 0x51)}, Volume, {64, 48, 32, 16, 0}},
      {"E5F", XM, {Extended(49, 0, X::SetFineTune, 0xF)}, Period, {4608 - 56}},
      {"E50", XM, {Extended(49, 0, X::SetFineTune, 0x0)}, FineTune, {-128}},
      {"E5F without note", XM, {Note(49, 1), Extended(0, 0, X::SetFineTune, 0xF)}, Period, {4608}},
      {"E57, ProTracker", PT, {Extended(49, 0, X::SetFineTune, 0x7)}, FineTune, {112}},
      {"E58, ProTracker", PT, {Extended(49, 0, X::SetFineTune, 0x8)}, FineTune, {-128}},
      {"EC0", XM, {Extended(49, 0, X::NoteCut, 0)}, Volume, {0}},
      {"K03", XM, {Cell(49, 3, 0, E::KeyOff, 3)}, KeyOff, {0, 0, 0, 1, 1, 1}},
      {"K09", XM, {Cell(49, 3, 0, E::KeyOff, 9)}, KeyOff, {0, 0, 0, 0, 0, 0}},
      {"F1F", XM, {Command(E::SetSpeedTempo, 0x1F)}, Tempo, {31125}},
      {"F20", XM, {Command(E::SetSpeedTempo, 0x20)}, Tempo, {6032}},
      {"T11", XM, {Cell(49, 1, 0, E::Tremor, 0x11), Command(E::Tremor, 0)}, VolumeDelta, {0, -64, -64, 0, 0, -64}},
      {"tremolo", XM, {Cell(49, 1, 0, E::Tremolo, 0x4F), Command(E::Tremolo, 0)}, VolumeDelta, {59}},
      {"tremolo, ProTracker", PT, {Cell(49, 1, 0, E::Tremolo, 0x4F), Command(E::Tremolo, 0)}, VolumeDelta, {0}},
      {"note: the envelope goes on", XM, {Note(49, 3), Note(49)}, Envelope, {7}},
      {"note and instrument: it restarts", XM, {Note(49, 3), Note(49, 3)}, Envelope, {1}},
      {"100, ProTracker", PT, {Cell(49, 1, 0, E::PortamentoUp, 4), Command(E::PortamentoUp, 0)}, Period, {1632, 1632}},
      {"100, 6CHN", Six, {Cell(49, 1, 0, E::PortamentoUp, 4), Command(E::PortamentoUp, 0)}, Period, {1632, 1616}},
      {"A00, ProTracker", PT, {slideDown, Command(E::VolumeSlide, 0)}, Volume, {12, 12}},
      {"500, ProTracker", PT, {slideDown, Command(E::TonePortamentoVolumeSlide, 0)}, Volume, {12, 12}},
      {"500, XM", XM, {slideDown, Command(E::TonePortamentoVolumeSlide, 0)}, Volume, {12, 8}},
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
    TTarnXMSong& data = song.Data();
    data.Signature = c.Signature;
    data.Format = data.Signature.empty() ? TTarnXMFormat::XM : TTarnXMFormat::MOD;
    data.LinearFrequency = data.Signature.empty();
    for (int row = 0; row < static_cast<int>(c.Rows.size()); ++row) song.Cell(0, row, 0, c.Rows[row]);
    song.Start();
    song.Tick(6 * (static_cast<int>(c.Rows.size()) - 1));
    std::vector<std::int32_t> traced;
    for (std::size_t k = 0; k < c.LastRow.size(); ++k) {
      song.Channel().Position = std::int64_t{99} << 32;
      song.Tick();
      traced.push_back(c.Field(song));
    }
    EXPECT_EQ(traced, c.LastRow) << c.Name;
  }
}

}  // namespace
