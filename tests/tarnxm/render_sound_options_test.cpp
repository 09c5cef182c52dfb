// The sound options as render applies them: stems add up to the mix, mutes
// and solos change exactly the channels named, subsongs and starts land
// where the engine's own seeks do, and bad values are one line and exit 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tarnxm/tarnxm.h"
#include "tests/tarnxm/render_fixture.h"
#include "tools/tarnxm/sound_options.h"

namespace {

constexpr std::size_t SongFrames = 16 * 6 * 882;

class TarnXMRenderSound : public TarnXMRenderTest {
 protected:
  void SetUp() override {
    TarnXMRenderTest::SetUp();
    Song = Write("song.xm", FourChannelSong());
  }

  // The song rendered by the tool with these options, as 16-bit samples.
  std::vector<std::int32_t> Render(std::vector<std::string> options) {
    const std::string out = Path("render-" + std::to_string(++Renders) + ".wav");
    options.insert(options.begin(), {"render", Song, "-o", out});
    EXPECT_EQ(Run(options), 0) << Err.str();
    return ReadWav(out).Samples;
  }

  // Per sample, the sum of the stems of these channels (from 1).
  std::vector<std::int32_t> StemSum(const std::vector<int>& channels) {
    std::vector<std::int32_t> sum(SongFrames * 2, 0);
    for (const int channel : channels) {
      const std::vector<std::int32_t> stem = ReadWav(Path("stems/song-0" + std::to_string(channel) + ".wav")).Samples;
      EXPECT_EQ(stem.size(), sum.size()) << "the stems are sample-aligned";
      for (std::size_t k = 0; k < std::min(stem.size(), sum.size()); ++k) sum[k] += stem[k];
    }
    return sum;
  }

  static std::int32_t LargestDifference(const std::vector<std::int32_t>& a, const std::vector<std::int32_t>& b) {
    EXPECT_EQ(a.size(), b.size());
    std::int32_t largest = 0;
    for (std::size_t k = 0; k < std::min(a.size(), b.size()); ++k) largest = std::max(largest, std::abs(a[k] - b[k]));
    return largest;
  }

  std::string Song;
  int Renders = 0;
};

TEST(TarnXMSoundOptions, TimesAndChannelLists) {
  struct TTime {
    const char* Text;
    std::optional<double> Seconds;
  };
  for (const TTime& test :
       {TTime{"83.5", 83.5}, TTime{"0", 0.0}, TTime{"1:02", 62.0}, TTime{"1:02.250", 62.25}, TTime{"12:00.5", 720.5},
        TTime{"", std::nullopt}, TTime{"-1", std::nullopt}, TTime{"1:2", std::nullopt}, TTime{"1:60", std::nullopt},
        TTime{":30", std::nullopt}, TTime{"1:30x", std::nullopt}, TTime{"inf", std::nullopt},
        TTime{"nan", std::nullopt}, TTime{"1:-5", std::nullopt}})
    EXPECT_EQ(ParseTime(test.Text), test.Seconds) << test.Text;
  using TList = std::optional<std::vector<std::int32_t>>;
  struct TChannels {
    const char* Text;
    TList Channels;
  };
  for (const TChannels& test :
       {TChannels{"1", TList{{0}}}, TChannels{"1,3-5", TList{{0, 2, 3, 4}}}, TChannels{"4,2,2-3", TList{{1, 2, 3}}},
        TChannels{"256", TList{{255}}}, TChannels{"0", std::nullopt}, TChannels{"257", std::nullopt},
        TChannels{"3-1", std::nullopt}, TChannels{"1,", std::nullopt}, TChannels{"", std::nullopt},
        TChannels{"1-", std::nullopt}, TChannels{"a", std::nullopt}, TChannels{"1;2", std::nullopt}})
    EXPECT_EQ(ParseChannelList(test.Text), test.Channels) << test.Text;
}

TEST_F(TarnXMRenderSound, BadValuesAreOneLineAndExitTwo) {
  struct TCase {
    std::vector<std::string> Args;
    const char* Problem;
  };
  const std::string out = Path("x.wav");
  for (const TCase& test :
       std::vector<TCase>{{{"--gain", "loud"}, "--gain takes -96 to 24 dB"},
                          {{"--gain", "30"}, "--gain takes -96 to 24 dB"},
                          {{"--stereo", "101"}, "--stereo takes 0 to 100 percent"},
                          {{"--mute", "0"}, "--mute takes channels 1 to 256 like 1,3-5"},
                          {{"--solo", "2-1"}, "--solo takes channels 1 to 256 like 1,3-5"},
                          {{"--subsong", "-1"}, "--subsong takes a number from 0"},
                          {{"--start", "1:75"}, "--start takes seconds (83.5) or m:ss[.fff]"},
                          {{"--end-time", "0"}, "--end-time takes a time above 0"},
                          {{"--loops", "-2"}, "--loops takes -1 (for ever) or more"},
                          {{"--loops", "-1"}, "--loops -1 plays for ever: give --seconds or --end-time"},
                          {{"--start", "5", "--end-time", "4"}, "--end-time must come after --start"},
                          {{"--format", "s8"}, "--format takes s16, s24 or f32"},
                          {{"--container", "ogg"}, "--container takes wav, raw or flac"},
                          {{"--format", "f32", "--container", "flac"}, "FLAC holds s16 or s24 samples, not f32"},
                          {{"-j", "0"}, "--jobs takes 1 to 256 threads"},
                          {{"--jobs", "x"}, "--jobs takes 1 to 256 threads"},
                          {{"--out-dir", "d"}, "expected one of -o OUT, --out-dir DIR and --stems DIR"},
                          {{"--gain"}, "--gain: 1 required DB missing"}}) {
    std::vector<std::string> args = {"render", Song, "-o", out};
    args.insert(args.end(), test.Args.begin(), test.Args.end());
    EXPECT_EQ(Run(args), 2) << test.Problem;
    EXPECT_EQ(Err.str(), std::string("tarnxm render: ") + test.Problem + " (usage: tarnxm render --help)\n");
  }
  EXPECT_EQ(Run({"render", Song, Song, "--out-dir", Path("d")}), 2);
  EXPECT_EQ(Err.str().rfind("tarnxm render: two files would both be written to ", 0), 0u) << Err.str();
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(TarnXMRenderSound, StemsAddUpToTheMix) {
  ASSERT_EQ(Run({"render", Song, "--stems", Path("stems")}), 0) << Err.str();
  EXPECT_EQ(FilesEndingWith(".wav"),
            (std::vector<std::string>{"song-01.wav", "song-02.wav", "song-03.wav", "song-04.wav"}));
  EXPECT_NE(Err.str().find("/song-*.wav: 4 stems of 0:01.920 of audio in "), std::string::npos) << Err.str();
  const std::vector<std::int32_t> mix = Render({});
  // Each stem is rounded to 16 bits on its own, less than 1 away.
  EXPECT_LE(LargestDifference(StemSum({1, 2, 3, 4}), mix), 4);
  // Every stem holds its own channel.
  for (const int channel : {1, 2, 3, 4})
    EXPECT_GT(LargestDifference(StemSum({channel}), std::vector<std::int32_t>(mix.size())), 1000) << channel;
}

TEST_F(TarnXMRenderSound, MutesAndSolosChangeExactlyTheNamedChannels) {
  ASSERT_EQ(Run({"render", Song, "--stems", Path("stems")}), 0) << Err.str();
  struct TCase {
    std::vector<std::string> Options;
    std::vector<int> Heard;
  };
  for (const TCase& test : std::vector<TCase>{{{"--mute", "2,4"}, {1, 3}},
                                              {{"--mute", "1-3"}, {4}},
                                              {{"--solo", "3"}, {3}},
                                              {{"--solo", "1-2,4"}, {1, 2, 4}},
                                              {{"--solo", "1-3", "--mute", "2"}, {1, 3}},
                                              {{"--mute", "1-4"}, {}},
                                              {{"--mute", "9"}, {1, 2, 3, 4}}})
    EXPECT_LE(LargestDifference(Render(test.Options), StemSum(test.Heard)),
              std::max<std::int32_t>(static_cast<std::int32_t>(test.Heard.size()), 1))
        << test.Options[1];
  // Stems are made only for the channels left heard.
  ASSERT_EQ(Run({"render", Song, "--stems", Path("some"), "--solo", "1,3"}), 0) << Err.str();
  std::vector<std::string> stems;
  for (const auto& entry : std::filesystem::directory_iterator(Path("some"))) stems.push_back(entry.path().filename());
  std::sort(stems.begin(), stems.end());
  EXPECT_EQ(stems, (std::vector<std::string>{"song-01.wav", "song-03.wav"}));
}

// The tool lands where the renderer's own SelectSubsong and SeekTime do.
TEST_F(TarnXMRenderSound, SubsongsAndStartsLandWhereTheEngineSeeks) {
  const std::string twoParts = Write("two.xm", TwoSubsongSong());
  struct TCase {
    std::string Song;
    std::int32_t Subsong;
    double Start;
    std::string StartText;
  };
  for (const TCase& test : {TCase{Song, 0, 0.5, "0.5"}, TCase{Song, 0, 1.25, "0:01.250"}, TCase{twoParts, 1, 0, "0"},
                            TCase{twoParts, 1, 0.3, "0.3"}}) {
    const std::string out = Path("seek.wav");
    ASSERT_EQ(
        Run({"render", test.Song, "-o", out, "--subsong", std::to_string(test.Subsong), "--start", test.StartText}), 0)
        << Err.str();
    const TTarnXMLoad load = LoadModuleFile(test.Song);
    TTarnXMRenderer renderer(load.Song, RenderOptions(TSoundOptions{}));
    ASSERT_TRUE(renderer.SelectSubsong(test.Subsong));
    renderer.SeekTime(test.Start);
    std::vector<std::int16_t> expected(2 * 44100 * 10);
    expected.resize(2 * renderer.Render(expected.data(), expected.size() / 2));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadWav(out).Samples, std::vector<std::int32_t>(expected.begin(), expected.end()))
        << test.Subsong << " " << test.StartText;
  }
}

TEST_F(TarnXMRenderSound, LengthsFollowLoopsEndTimesAndSeconds) {
  struct TCase {
    std::vector<std::string> Options;
    std::size_t Frames;
  };
  for (const TCase& test : std::vector<TCase>{{{}, SongFrames},
                                              {{"--loops", "2"}, 3 * SongFrames},
                                              {{"--end-time", "1.5"}, 66150},
                                              {{"--start", "0.5", "--end-time", "1.5"}, 44100},
                                              {{"--loops", "-1", "--end-time", "5"}, 5 * 44100},
                                              {{"--end-time", "9"}, SongFrames},
                                              {{"--seconds", "3", "--end-time", "1"}, 3 * 44100},
                                              {{"--start", "1", "--seconds", "0:02"}, 2 * 44100}})
    EXPECT_EQ(Render(test.Options).size(), 2 * test.Frames) << testing::PrintToString(test.Options);
}

TEST_F(TarnXMRenderSound, TheDefaultLevelLeavesRoomAndStereoCanNarrow) {
  const std::vector<std::int32_t> standard = Render({});
  EXPECT_EQ(standard, Render({"--gain", std::to_string(DefaultGainDb)}));
  const std::vector<std::int32_t> full = Render({"--gain", "0"});
  const auto peak = [](const std::vector<std::int32_t>& samples) {
    std::int32_t largest = 0;
    for (const std::int32_t value : samples) largest = std::max(largest, std::abs(value));
    return largest;
  };
  EXPECT_NEAR(peak(full) * std::pow(10.0, DefaultGainDb / 20), peak(standard), 2);
  const std::vector<std::int32_t> mono = Render({"--stereo", "0"});
  bool wide = false;
  for (std::size_t k = 0; k + 1 < mono.size(); k += 2) {
    ASSERT_EQ(mono[k], mono[k + 1]) << k;
    wide |= standard[k] != standard[k + 1];
  }
  EXPECT_TRUE(wide);
}

}  // namespace
