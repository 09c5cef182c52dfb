// Whole songs through the engine: a small song built here, whose waveform
// was checked by eye once and is pinned by a checksum, renders the same
// every time; and every XM and MOD module of three Debian game-data packages
// renders to its end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "player/engine.h"
#include "tests/player/package_modules.h"
#include "tests/player/test_song.h"

namespace {

// Frames per render: a short device buffer's worth.
constexpr std::int32_t BufferFrames = 256;

// The song from its start to the tick at which the sequencer reports its
// end, interleaved when stereo; stops after limit frames.
std::vector<std::int16_t> RenderToEnd(TTarnXMEngine& engine, std::int64_t limit = std::int64_t{3600} * 44100) {
  engine.Rewind();
  const auto channels = static_cast<std::size_t>(engine.Settings.OutputChannels);
  std::vector<std::int16_t> song;
  std::vector<std::int64_t> accumulators(BufferFrames * channels);
  std::vector<std::int16_t> buffer(accumulators.size());
  while (static_cast<std::int64_t>(song.size()) < limit * engine.Settings.OutputChannels) {
    const auto values = static_cast<std::size_t>(engine.Render(accumulators.data(), BufferFrames)) * channels;
    ConvertToPcm16(accumulators.data(), buffer.data(), values, engine.Settings.Clipping);
    song.insert(song.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(values));
    if (engine.Module.State.SongEnded) break;
  }
  return song;
}

std::uint64_t Checksum(const std::vector<std::int16_t>& values) {
  std::uint64_t hash = 14695981039346656037u;
  for (const std::int16_t value : values)
    for (const int shift : {0, 8}) hash = (hash ^ (static_cast<std::uint16_t>(value) >> shift & 0xFF)) * 1099511628211u;
  return hash;
}

// Two channels over sixteen rows: a looping saw with an arpeggio, a second
// note and a portamento, released at row 12 into its envelope's decay; and a
// ping-pong triangle sinking on its envelope through the low-pass filter,
// which opens smoothly over row 4 and resonates from row 8, faded out by a
// volume slide from row 12.
void BuildSong(TTarnXMSong& song) {
  song.NumChannels = 2;
  song.SongLength = 1;
  song.Patterns[0].SetSize(16, 2);
  TTarnXMInstrument& lead = song.NewInstrument(1);
  lead.VolumeEnvelope.Enabled = true;
  lead.VolumeEnvelope.SustainEnabled = true;
  lead.VolumeEnvelope.SustainPoint = 1;
  lead.VolumeEnvelope.NumPoints = 3;
  lead.VolumeEnvelope.Points[0] = {0, 64};
  lead.VolumeEnvelope.Points[1] = {2, 48};
  lead.VolumeEnvelope.Points[2] = {12, 0};
  TTarnXMSample& saw = lead.NewSample(0);
  saw.Length = 64;
  saw.AllocateData(64);
  for (int k = 0; k < 64; ++k) saw.Data[k] = (k - 32) * 800;
  saw.Loop = true;
  saw.LoopLength = 64;
  saw.Volume = 48;
  saw.Panning = 64;
  saw.PrepareForInterpolation();
  TTarnXMInstrument& pad = song.NewInstrument(2);
  TTarnXMSample& triangle = pad.NewSample(0);
  triangle.Length = 100;
  triangle.AllocateData(100);
  for (int k = 0; k < 100; ++k) triangle.Data[k] = (k < 50 ? k : 100 - k) * 1000 - 25000;
  triangle.Loop = true;
  triangle.PingPong = true;
  triangle.LoopStart = 10;
  triangle.LoopLength = 80;
  triangle.Panning = 192;
  triangle.PrepareForInterpolation();
  pad.VolumeEnvelope.Enabled = true;
  pad.VolumeEnvelope.NumPoints = 2;
  pad.VolumeEnvelope.Points[0] = {0, 64};
  pad.VolumeEnvelope.Points[1] = {60, 32};
  TTarnXMPattern& pattern = song.Patterns[0];
  pattern.SetNote(0, 0, Note(49, 1));
  pattern.SetNote(0, 1, Note(37, 2, 0, 35, 0x20));
  pattern.SetNote(2, 0, Effect(0, 0x37));
  pattern.SetNote(4, 0, Note(53, 1));
  pattern.SetNote(4, 1, Effect(37, 0x7F));
  pattern.SetNote(8, 0, Effect(1, 0x08));
  pattern.SetNote(8, 1, Effect(26, 0x60));
  pattern.SetNote(12, 0, Note(97));
  pattern.SetNote(12, 1, Effect(10, 0x0F));
}

TEST(SongRender, ASmallSongRendersToItsPinnedChecksumEveryTime) {
  std::vector<std::int16_t> first;
  for (int run = 0; run < 2; ++run) {
    auto built = std::make_shared<TTarnXMSong>();
    BuildSong(*built);
    TTarnXMEngine engine;
    engine.Module.SetSong(built);
    const std::vector<std::int16_t> song = RenderToEnd(engine);
    ASSERT_EQ(song.size(), 2u * 16 * 6 * 882);
    if (run == 0) {
      first = song;
      if (const char* dump = std::getenv("SONG_RENDER_DUMP")) {
        std::ofstream(dump, std::ios::binary)
            .write(reinterpret_cast<const char*>(song.data()), static_cast<std::streamsize>(song.size() * 2));
      }
    }
    EXPECT_EQ(song, first);
  }
  EXPECT_EQ(Checksum(first), 6859160455682052532u);
}

TEST(SongRender, EveryPackageModuleRendersToItsEnd) {
  const std::vector<std::string> files = PackageModules();
  if (files.empty())
    GTEST_SKIP() << "the packages heroes-sound-tracks, tecnoballz-data and freedroid-data are not "
                    "installed (scripts/install-deps test installs them)";
  for (const std::string& path : files) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    TTarnXMEngine engine;
    ASSERT_TRUE(engine.Module.LoadFromMemory(bytes.data(), bytes.size())) << path;
    const std::vector<std::int16_t> song = RenderToEnd(engine);
    EXPECT_TRUE(engine.Module.State.SongEnded) << path;
    int loud = 0;
    for (const std::int16_t value : song) loud += std::abs(value) > 1000;
    EXPECT_GT(loud, static_cast<int>(song.size() / 10)) << path;
    std::printf("  %-40s %7.1f s\n", path.substr(path.rfind('/') + 1).c_str(),
                static_cast<double>(song.size() / 2) / 44100.0);
  }
}

}  // namespace
