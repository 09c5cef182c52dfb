#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "tests/capture/ffmpeg_decode.h"
#include "tests/tarnxm/render_fixture.h"
#include "tools/module_video/video_layout.h"
#include "tools/module_video/video_palette.h"
#include "tools/xm_writer/xm_encoding.h"

namespace {

using TarnXMVideoTest = TarnXMRenderTest;
using namespace VideoPalette;

constexpr int Width = 640;
constexpr int Height = 360;
// Frames of 1/30 s fall on eighteen places of a row's 0.12 s, before and after its cut.
constexpr int Fps = 30;
constexpr int Channels = 4;
constexpr double RowSeconds = 6 * 2.5 / 125;

// Sixteen rows at speed 6: row r starts a note on channel r % 4 alone, cut
// at its fifth tick, so that one channel at a time sounds.
TBytes RotatingSong() {
  TXMWriter writer;
  writer.Channels = Channels;
  TBytes cells;
  for (int row = 0; row < 16; ++row)
    for (int channel = 0; channel < Channels; ++channel) {
      const TBytes cell = channel == row % Channels
                              ? XMCell(static_cast<std::uint8_t>(49 + 5 * channel), 1, 0, 0x0E, 0xC5)
                              : EmptyXMCells(1);
      cells.insert(cells.end(), cell.begin(), cell.end());
    }
  writer.Patterns.push_back(XMPattern(16, cells));
  writer.Instruments = {SquareInstrument(60)};
  return writer.Build();
}

// Pixels of one colour inside a box of an RGB frame.
int Count(const std::uint8_t* frame, const TBox& box, TColour colour) {
  int count = 0;
  for (int y = box.Y; y < box.Y + box.Height; ++y)
    for (int x = box.X; x < box.X + box.Width; ++x) {
      const std::uint8_t* pixel = frame + (static_cast<std::size_t>(y) * Width + static_cast<std::size_t>(x)) * 3;
      count += pixel[0] == colour.Red && pixel[1] == colour.Green && pixel[2] == colour.Blue;
    }
  return count;
}

}  // namespace

TEST_F(TarnXMVideoTest, FramesShowThePlayingRowAndTheSoundingChannel) {
  const std::string song = Write("rotating.xm", RotatingSong());
  ASSERT_EQ(Run({"video", song, "-o", Path("rotating.mkv"), "--size", "640x360", "--fps", "30"}), 0) << Err.str();
  // 16 rows of 0.12 s at 30 frames a second.
  EXPECT_NE(Out.str().find(": 58 frames, 0:01.933 of video"), std::string::npos) << Out.str();
  const std::vector<std::uint8_t> frames = DecodeFrames(Path("rotating.mkv"));
  const std::size_t frameBytes = std::size_t{Width} * Height * 3;
  ASSERT_EQ(frames.size(), 58 * frameBytes);

  const TVideoLayout layout = LayOutVideo(Width, Height, Channels);
  const int glyph = GlyphWidth * layout.PatternScale;
  const int line = LineHeight * layout.PatternScale;
  const int bandY = layout.Pattern.Y + (layout.PatternRows / 2 + 1) * line - layout.PatternScale;
  const int cellsX = layout.Pattern.X + RowNumberChars * glyph;
  const int label = (LineHeight + 2) * layout.Scale;
  int checked = 0;
  for (int n = 0; n < 58; ++n) {
    // The row's note sounds from its start until its cut 0.1 s in; frames
    // on a tick's edge are left out.
    const double time = static_cast<double>(n) / Fps;
    const double intoRow = std::fmod(time, RowSeconds);
    if (std::abs(intoRow - 0.1) < 0.001 || intoRow < 0.001 || intoRow > RowSeconds - 0.001) continue;
    ++checked;
    const int row = static_cast<int>(time / RowSeconds);
    const bool sounding = intoRow < 0.1;
    const std::uint8_t* frame = frames.data() + static_cast<std::size_t>(n) * frameBytes;
    SCOPED_TRACE(testing::Message() << "frame " << n << ", row " << row << (sounding ? ", sounding" : ", cut"));
    EXPECT_EQ(Count(frame, {cellsX + Channels * CellChars * glyph - glyph, bandY, 1, 1}, PlayingRow), 1);
    for (int channel = 0; channel < Channels; ++channel) {
      const bool playing = channel == row % Channels;
      const TBox note{cellsX + channel * CellChars * glyph, bandY, 3 * glyph, line};
      EXPECT_EQ(Count(frame, note, NoteColour) > 0, playing) << "note of channel " << channel + 1;
      TBox trace = layout.ScopeBox(channel);
      trace.Y += label;
      trace.Height -= label;
      EXPECT_EQ(Count(frame, trace, LiveTrace) > 0, playing && sounding) << "scope of channel " << channel + 1;
      EXPECT_EQ(Count(frame, trace, QuietTrace) > 0, !playing || !sounding) << "scope of channel " << channel + 1;
    }
  }
  EXPECT_GE(checked, 50);
}

TEST_F(TarnXMVideoTest, ExportsRepeatBitForBitWithOrWithoutADisplayWithTheRendersSound) {
  const std::string song = Write("four.xm", FourChannelSong());
  const std::vector<std::string> sound{"--interpolation", "linear", "--gain", "-3", "--stereo", "60"};
  std::vector<std::string> args{"video", song, "--size", "320x180", "--fps", "30", "-o"};
  args.insert(args.begin() + 2, sound.begin(), sound.end());
  args.push_back(Path("one.mkv"));
  ASSERT_EQ(Run(args), 0) << Err.str();
  // Again as a program of its own without a display: drawn offscreen, the same bytes.
  std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + Tool().string();
  for (const std::string& word : args) command += " '" + (word == Path("one.mkv") ? Path("two.mkv") : word) + "'";
  ASSERT_EQ(std::system((command + " >/dev/null").c_str()), 0) << command;
  std::vector<std::string> render{"render", song, "-o", Path("four.raw")};
  render.insert(render.end(), sound.begin(), sound.end());
  ASSERT_EQ(Run(render), 0) << Err.str();
  const TBytes one = Read(Path("one.mkv"));
  EXPECT_GT(one.size(), 1000u);
  EXPECT_TRUE(one == Read(Path("two.mkv")));
  const std::vector<std::uint8_t> decoded = DecodeSound(Path("one.mkv"));
  const TBytes rendered = Read(Path("four.raw"));
  EXPECT_EQ(decoded.size(), rendered.size());
  EXPECT_TRUE(decoded == rendered);
}

TEST_F(TarnXMVideoTest, BadInputIsOneLineAndNoFile) {
  Write("bad.xm", TBytes(100, 7));
  const std::string song = Write("four.xm", FourChannelSong());
  const std::string path = std::getenv("PATH");
  const struct {
    std::vector<std::string> Args;
    const char* Path;  // PATH while it runs
    int Status;
    const char* Message;
  } cases[] = {
      {{"video", Path("bad.xm"), "-o", Path("out.mkv")}, path.c_str(), 1, "bad.xm: "},
      {{"video", song, "-o", Path("out.mkv")}, "/nowhere", 1, "ffmpeg is not installed"},
      {{"video", song, "-o", Path("out.avi")}, path.c_str(), 2, "-o takes a .mp4 or .mkv file"},
      {{"video", song, "-o", Path("out.mp4"), "--size", "641x360"}, path.c_str(), 2, "--size takes even"},
  };
  for (const auto& [args, searched, status, message] : cases) {
    setenv("PATH", searched, 1);
    EXPECT_EQ(Run(args), status) << message;
    setenv("PATH", path.c_str(), 1);
    const std::string said = Err.str();
    EXPECT_NE(said.find(message), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(FilesEndingWith(".mkv").size() + FilesEndingWith(".mp4").size() + FilesEndingWith(".avi").size(), 0u);
  }
}
