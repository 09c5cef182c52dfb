// The song's length once through, from the sequencer ticked without mixing,
// and its line in tarnxm info.
#include "tools/tarnxm/song_length.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "tests/player/module_writer.h"
#include "tools/tarnxm/tarnxm.h"

namespace {

// A player at 44100 Hz with one channel and one pattern of rows rows.
std::unique_ptr<TTarnXM> Song(int rows) {
  std::unique_ptr<TTarnXM> player = TTarnXM::Create(DurationRate, 64, true);
  TTarnXMModule& module = player->Module;
  module.NumChannels = 1;
  module.SongLength = 1;
  module.Patterns[0].SetSize(rows, 1);
  module.Loaded = true;
  return player;
}

void SetCell(TTarnXM& player, int row, int effect, int parameter) {
  player.Module.Patterns[0].SetNote(row, 0, {0, 0, 0, effect, parameter});
}

TEST(SongLength, ARowAtSpeed6AndTempo125Lasts5292Frames) {
  const std::unique_ptr<TTarnXM> player = Song(1);
  EXPECT_EQ(FramesToSongEnd(*player, 1 << 30), 5292);
  EXPECT_EQ(SongDurationMs(*player), 120);
  // The song is left at its start.
  EXPECT_FALSE(player->Module.SongEnded);
  EXPECT_EQ(player->Module.TickCounter, 6);
}

TEST(SongLength, SpeedTempoAndDelayChangesCountFromTheTickThatReadsThem) {
  const std::unique_ptr<TTarnXM> player = Song(4);
  SetCell(*player, 0, 15, 3);
  SetCell(*player, 1, 15, 80);
  SetCell(*player, 3, 14, 0xE2);
  // 3 ticks of 882 frames, then 3 + 3 + 9 ticks of 110250 / 80 frames.
  EXPECT_EQ(FramesToSongEnd(*player, 1 << 30), 3 * 882 + 15 * 1378);
}

TEST(SongLength, ASongWithoutAnEndWithinAnHourHasNone) {
  const std::unique_ptr<TTarnXM> player = Song(256);
  player->Module.InitialSpeed = 31;
  player->Module.InitialTempo = 32;
  for (int row = 0; row < 256; ++row) SetCell(*player, row, 14, 0xEF);
  EXPECT_EQ(SongDurationMs(*player), std::nullopt);
  EXPECT_EQ(FramesToSongEnd(*player, 100000), 100000);
}

TEST(SongLength, ASongWithoutRowsLastsNothing) {
  const std::unique_ptr<TTarnXM> player = Song(0);
  EXPECT_EQ(SongDurationMs(*player), 0);
}

TEST(SongLength, TarnXMInfoReportsTheDuration) {
  TXMWriter writer;
  writer.SongLength = 2;
  writer.Orders = {0, 0};
  writer.Patterns.push_back(XMPattern(2, EmptyXMCells(8)));
  const TBytes bytes = writer.Build();
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tarnxm-length-" + std::to_string(getpid()) + ".xm");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::ostringstream out, err;
  ASSERT_EQ(RunTarnXM({"info", path.string()}, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("\nDuration:     480 ms\n"), std::string::npos) << out.str();
  out.str("");
  ASSERT_EQ(RunTarnXM({"info", "--json", path.string()}, out, err), 0) << err.str();
  EXPECT_NE(out.str().find(",\"duration_ms\":480}\n"), std::string::npos) << out.str();
  std::filesystem::remove(path);
}

}  // namespace
