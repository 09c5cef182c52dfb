// The song's length once through, from the renderer's scan of the sequencer
// ticked without mixing, and its line in tarnxm info.
#include "tools/tarnxm/song_length.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "tools/tarnxm/tarnxm.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

struct TEffectCell {
  int Row;
  std::uint8_t Effect;
  std::uint8_t Parameter;
};

// A renderer at 44100 Hz on a song of one channel and one pattern of rows
// rows, empty but for the effects.
TTarnXMRenderer Song(int rows, const std::vector<TEffectCell>& effects = {}, std::uint16_t speed = 6,
                     std::uint16_t tempo = 125) {
  TXMWriter writer;
  writer.Channels = 1;
  writer.Speed = speed;
  writer.Tempo = tempo;
  TBytes cells;
  for (int row = 0; row < rows; ++row) {
    TBytes cell = EmptyXMCells(1);
    for (const TEffectCell& effect : effects)
      if (effect.Row == row) cell = XMCell(0, 0, 0, effect.Effect, effect.Parameter);
    cells.insert(cells.end(), cell.begin(), cell.end());
  }
  writer.Patterns.push_back(XMPattern(static_cast<std::uint16_t>(rows), cells));
  const TBytes bytes = writer.Build();
  const TTarnXMLoad load = LoadModule(bytes.data(), bytes.size());
  EXPECT_TRUE(load) << load.Error;
  return TTarnXMRenderer(load.Song);
}

std::int64_t FramesRenderedOnceThrough(TTarnXMRenderer& renderer) {
  std::vector<std::int16_t> buffer(2 * 4096);
  std::int64_t frames = 0;
  while (const std::size_t rendered = renderer.Render(buffer.data(), 4096))
    frames += static_cast<std::int64_t>(rendered);
  return frames;
}

TEST(SongLength, TheMeasuredLengthIsWhatTheRendererPlaysOnceThrough) {
  struct TCase {
    const char* Name;
    int Rows;
    std::vector<TEffectCell> Effects;
    std::int64_t Frames;
  };
  const TCase cases[] = {
      {"a row at speed 6 and tempo 125", 1, {}, 5292},
      // Speed and tempo changes and the delay count from the tick that reads
      // them: 3 ticks of 882 frames, then 3 + 3 + 9 ticks of 110250 / 80.
      {"speed, tempo and delay changes", 4, {{0, 15, 3}, {1, 15, 80}, {3, 14, 0xE2}}, 3 * 882 + 15 * 1378},
      {"no rows", 0, {}, 0},
  };
  for (const TCase& test : cases) {
    TTarnXMRenderer renderer = Song(test.Rows, test.Effects);
    EXPECT_EQ(FramesToSongEnd(renderer), test.Frames) << test.Name;
    // The measure leaves the renderer at the song's start.
    EXPECT_EQ(FramesRenderedOnceThrough(renderer), test.Frames) << test.Name;
  }
}

TEST(SongLength, MillisecondsAreRounded) {
  TTarnXMRenderer renderer = Song(1);
  EXPECT_EQ(SongDurationMs(renderer), 120);
}

TEST(SongLength, ASongWithoutAnEndWithinAnHourHasNone) {
  std::vector<TEffectCell> delays;
  for (int row = 0; row < 256; ++row) delays.push_back({row, 14, 0xEF});
  TTarnXMRenderer renderer = Song(256, delays, 31, 32);
  EXPECT_EQ(SongDurationMs(renderer), std::nullopt);
  EXPECT_EQ(FramesToSongEnd(renderer), std::nullopt);
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
