// The engine without a device: the settings a rate gives, the tick length,
// chunks that end at ticks, click removal, the 16-bit conversion, and ticks
// that start at their exact frame across renders.
#include "player/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "tests/player/test_song.h"

namespace {

TEST(Engine, RampLengthAndDeclickDivisorFollowTheRate) {
  const std::pair<std::int32_t, std::pair<std::int32_t, std::int32_t>> cases[] = {
      {44100, {128, 256}}, {22050, {64, 128}}, {8000, {23, 46}}, {100, {0, 2}}};
  for (const auto& [rate, expected] : cases) {
    const TTarnXMEngine engine(TTarnXMRenderSettings::For(rate, true));
    EXPECT_EQ(engine.Settings.SampleRate, rate);
    EXPECT_EQ(engine.Settings.RampLength, expected.first) << rate;
    EXPECT_EQ(engine.Settings.DeclickDivisor, expected.second) << rate;
  }
}

TEST(Engine, UpdateTempo) {
  TTarnXMEngine engine;
  TTarnXMPlayback& state = engine.Module.State;
  state.Tempo = 125;
  engine.UpdateTempo();
  EXPECT_EQ(state.SamplesPerTick, 882);
  EXPECT_EQ(state.TickSamplesLeft, 882);
  state.Tempo = 0;
  engine.UpdateTempo();
  EXPECT_EQ(state.Tempo, 125);
  EXPECT_EQ(state.SamplesPerTick, 882);
  // However low the rate, a tick lasts a frame.
  TTarnXMEngine slow(TTarnXMRenderSettings::For(1, true));
  slow.Module.State.Tempo = 255;
  slow.UpdateTempo();
  EXPECT_EQ(slow.Module.State.SamplesPerTick, 1);
}

TEST(Engine, ConversionTruncatesTowardZeroAndClipsOrWraps) {
  const std::vector<std::int64_t> in = {-2047,
                                        -2048,
                                        2047,
                                        -32768 * 2048 - 1,
                                        -32769 * 2048,
                                        32767 * 2048 + 2047,
                                        32768 * 2048,
                                        std::int64_t{1} << 40,
                                        -(std::int64_t{3} << 40) - 2048};
  std::vector<std::int16_t> out(in.size());
  ConvertToPcm16(in.data(), out.data(), in.size(), true);
  EXPECT_EQ(out, (std::vector<std::int16_t>{0, -1, 0, -32768, -32768, 32767, 32767, 32767, -32768}));
  ConvertToPcm16(in.data(), out.data(), in.size(), false);
  // Without clipping the low 16 bits of the quotient are kept.
  EXPECT_EQ(out, (std::vector<std::int16_t>{0, -1, 0, -32768, 32767, 32767, -32768, 0, -1}));
}

// An engine whose current render writes into a buffer of frames frames.
struct TEngineOnBuffer {
  TTarnXMEngine Engine;
  std::vector<std::int64_t> Buffer;

  TEngineOnBuffer(std::int32_t rate, bool stereo, std::int32_t frames)
      : Engine(TTarnXMRenderSettings::For(rate, stereo)),
        Buffer(static_cast<std::size_t>(frames * Engine.Settings.OutputChannels)) {
    Engine.MixPointer = Buffer.data();
    Engine.MixFrames = frames;
  }
};

TEST(Engine, MixChunkStopsAtTheBufferEnd) {
  TEngineOnBuffer on(44100, true, 100);
  TTarnXMEngine& engine = on.Engine;
  engine.Module.State.TickSamplesLeft = 500;
  EXPECT_EQ(engine.MixChunk(60, 500), 40);
  EXPECT_EQ(engine.Module.State.TickSamplesLeft, 460);
  EXPECT_EQ(engine.MixChunk(100, 500), 0);
  EXPECT_EQ(engine.MixChunk(120, 500), 0);
  EXPECT_EQ(engine.Module.State.TickSamplesLeft, 460);
}

TEST(Engine, ClickRemovalDecaysByTheDivisorEachFrame) {
  TEngineOnBuffer stereo(44100, true, 8);
  stereo.Engine.Module.State.DeclickLeft = 100000;
  stereo.Engine.Module.State.DeclickRight = -1000;
  stereo.Engine.Declick(2, 3);
  EXPECT_EQ(stereo.Buffer,
            (std::vector<std::int64_t>{0, 0, 0, 0, 100000, -1000, 99610, -997, 99221, -994, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(stereo.Engine.Module.State.DeclickLeft, 98834);
  EXPECT_EQ(stereo.Engine.Module.State.DeclickRight, -991);

  // Another divisor, and offsets too small to fall any further.
  TEngineOnBuffer other(48000, true, 5);
  EXPECT_EQ(other.Engine.Settings.DeclickDivisor, 278);
  other.Engine.Module.State.DeclickLeft = 280;
  other.Engine.Module.State.DeclickRight = -280;
  other.Engine.Declick(0, 5);
  EXPECT_EQ(other.Buffer, (std::vector<std::int64_t>{280, -280, 279, -279, 278, -278, 277, -277, 277, -277}));
  EXPECT_EQ(other.Engine.Module.State.DeclickLeft, 277);

  TEngineOnBuffer mono(44100, false, 4);
  mono.Engine.Module.State.DeclickLeft = 1000;
  mono.Engine.Module.State.DeclickRight = 5000;
  mono.Engine.Declick(0, 4);
  EXPECT_EQ(mono.Buffer, (std::vector<std::int64_t>{1000, 997, 994, 991}));
  EXPECT_EQ(mono.Engine.Module.State.DeclickRight, 5000);
}

// A song of channels channels whose first plays instrument 1, a constant
// sample, from row 1 on.
void ConstantNoteFromRowOne(TTarnXMSong& song, std::int32_t channels) {
  song.NumChannels = channels;
  song.SongLength = 1;
  song.Patterns[0].SetSize(64, 1);
  song.Patterns[0].SetNote(1, 0, Note(49, 1));
  TTarnXMSample& sample = song.NewInstrument(1).NewSample(0);
  sample.Length = 1000;
  ASSERT_TRUE(sample.AllocateData(1000));
  std::fill(sample.Data, sample.Data + 1000, 10000);
  sample.PrepareForInterpolation();
}

// count renders of frames frames each, as 16-bit values one after another.
std::vector<std::int16_t> RenderBuffers(TTarnXMEngine& engine, int count, std::int32_t frames) {
  const auto values = static_cast<std::size_t>(frames * engine.Settings.OutputChannels);
  std::vector<std::int64_t> accumulators(values);
  std::vector<std::int16_t> out(values * static_cast<std::size_t>(count), 1);
  for (int b = 0; b < count; ++b) {
    EXPECT_EQ(engine.Render(accumulators.data(), frames), frames);
    ConvertToPcm16(accumulators.data(), out.data() + values * static_cast<std::size_t>(b), values,
                   engine.Settings.Clipping);
  }
  return out;
}

TEST(Engine, TicksStartAtTheirExactFrameAcrossRenders) {
  auto song = std::make_shared<TTarnXMSong>();
  ASSERT_NO_FATAL_FAILURE(ConstantNoteFromRowOne(*song, 1));
  TTarnXMEngine engine;
  engine.Module.SetSong(song);
  engine.Rewind();
  const std::vector<std::int16_t> rendered = RenderBuffers(engine, 4, 2048);
  // Row 1 begins with tick 6, at 6 x 882 frames, inside the third render.
  const auto first = std::find_if(rendered.begin(), rendered.end(), [](std::int16_t value) { return value != 0; });
  EXPECT_EQ((first - rendered.begin()) / 2, 6 * 882);
  EXPECT_EQ(engine.Module.State.Row, 2);
}

TEST(Engine, NoChannelsRenderSilenceWhileTheSongMovesOn) {
  auto song = std::make_shared<TTarnXMSong>();
  ASSERT_NO_FATAL_FAILURE(ConstantNoteFromRowOne(*song, 0));
  TTarnXMEngine engine(TTarnXMRenderSettings::For(44100, false));
  engine.Module.SetSong(song);
  engine.Rewind();
  EXPECT_EQ(RenderBuffers(engine, 4, 2048), std::vector<std::int16_t>(4 * 2048, 0));
  EXPECT_EQ(engine.Module.State.Row, 2);
}

}  // namespace
