// The player object without an audio device: creation and its derived
// lengths, the tick length, chunks that end at ticks, click removal and the
// 16-bit conversion.
#include "player/player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "tests/player/test_song.h"

namespace {

TEST(Player, CreateAcceptsOnlyPositiveRatesAndBufferSizes) {
  EXPECT_EQ(TTarnXM::Create(0, 2048, true)->SampleRate, 44100);
  EXPECT_EQ(TTarnXM::Create(-1, 2048, true), nullptr);
  EXPECT_EQ(TTarnXM::Create(44100, 0, true), nullptr);
  EXPECT_EQ(TTarnXM::Create(44100, -5, false), nullptr);
  EXPECT_EQ(TTarnXM::Create(44100, 1 << 29, true), nullptr);  // 2^32 bytes a buffer
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
  EXPECT_EQ(player->OutputChannels, 2);
  EXPECT_EQ(player->BufferBytes, 8192);
  EXPECT_EQ(player->MixBuffer.size(), 4096u);
  EXPECT_EQ(player->Interpolation, TTarnXM::SincInterpolation);
  EXPECT_TRUE(player->Clipping);
  EXPECT_EQ(player->Module.Player, player.get());
  EXPECT_EQ(TTarnXM::Create(44100, 2048, false)->BufferBytes, 4096);
}

TEST(Player, RampLengthAndDeclickDivisorFollowTheRate) {
  const std::pair<std::int32_t, std::pair<std::int32_t, std::int32_t>> cases[] = {
      {44100, {128, 256}}, {22050, {64, 128}}, {8000, {23, 46}}, {100, {0, 2}}};
  for (const auto& [rate, expected] : cases) {
    const std::unique_ptr<TTarnXM> player = TTarnXM::Create(rate, 256, true);
    EXPECT_EQ(player->Module.MixRate, rate);
    EXPECT_EQ(player->Module.RampLength, expected.first) << rate;
    EXPECT_EQ(player->DeclickDivisor, expected.second) << rate;
  }
}

TEST(Player, UpdateTempo) {
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 256, true);
  player->Module.Tempo = 125;
  player->UpdateTempo();
  EXPECT_EQ(player->SamplesPerTick, 882);
  EXPECT_EQ(player->TickSamplesLeft, 882);
  EXPECT_EQ(player->Module.TickLength, 882);
  player->Module.Tempo = 0;
  player->UpdateTempo();
  EXPECT_EQ(player->Module.Tempo, 125);
  EXPECT_EQ(player->SamplesPerTick, 882);
  // However low the rate, a tick lasts a frame.
  const std::unique_ptr<TTarnXM> slow = TTarnXM::Create(1, 256, true);
  slow->Module.Tempo = 255;
  slow->UpdateTempo();
  EXPECT_EQ(slow->SamplesPerTick, 1);
}

TEST(Player, ConversionTruncatesTowardZeroAndClipsOrWraps) {
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

TEST(Player, MixChunkStopsAtTheBufferEnd) {
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 100, true);
  player->TickSamplesLeft = 500;
  EXPECT_EQ(player->MixChunk(60, 500), 40);
  EXPECT_EQ(player->TickSamplesLeft, 460);
  EXPECT_EQ(player->MixChunk(100, 500), 0);
  EXPECT_EQ(player->MixChunk(120, 500), 0);
  EXPECT_EQ(player->TickSamplesLeft, 460);
}

TEST(Player, ClickRemovalDecaysByTheDivisorEachFrame) {
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 8, true);
  player->Module.DeclickLeft = 100000;
  player->Module.DeclickRight = -1000;
  player->Declick(2, 3);
  EXPECT_EQ(player->MixBuffer,
            (std::vector<std::int64_t>{0, 0, 0, 0, 100000, -1000, 99610, -997, 99221, -994, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(player->Module.DeclickLeft, 98834);
  EXPECT_EQ(player->Module.DeclickRight, -991);

  // Another divisor, and offsets too small to fall any further.
  const std::unique_ptr<TTarnXM> other = TTarnXM::Create(48000, 5, true);
  EXPECT_EQ(other->DeclickDivisor, 278);
  other->Module.DeclickLeft = 280;
  other->Module.DeclickRight = -280;
  other->Declick(0, 5);
  EXPECT_EQ(other->MixBuffer, (std::vector<std::int64_t>{280, -280, 279, -279, 278, -278, 277, -277, 277, -277}));
  EXPECT_EQ(other->Module.DeclickLeft, 277);

  const std::unique_ptr<TTarnXM> mono = TTarnXM::Create(44100, 4, false);
  mono->Module.DeclickLeft = 1000;
  mono->Module.DeclickRight = 5000;
  mono->Declick(0, 4);
  EXPECT_EQ(mono->MixBuffer, (std::vector<std::int64_t>{1000, 997, 994, 991}));
  EXPECT_EQ(mono->Module.DeclickRight, 5000);
}

// A song on the player's own module: one channel playing instrument 1, a
// constant sample, from row 1 on.
void ConstantNoteFromRowOne(TTarnXM& player) {
  TTarnXMModule& module = player.Module;
  module.NumChannels = 1;
  module.SongLength = 1;
  module.Patterns[0].SetSize(64, 1);
  module.Patterns[0].SetNote(1, 0, Note(49, 1));
  TTarnXMSample& sample = module.NewInstrument(1).NewSample(0);
  sample.Length = 1000;
  ASSERT_TRUE(sample.AllocateData(1000));
  std::fill(sample.Data, sample.Data + 1000, 10000);
  sample.PrepareForInterpolation();
  module.Loaded = true;
}

TEST(Player, TicksStartAtTheirExactFrameAcrossBuffers) {
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
  ConstantNoteFromRowOne(*player);
  player->Rewind();
  std::vector<std::int16_t> song;
  std::vector<std::int16_t> buffer(2 * 2048);
  for (int b = 0; b < 4; ++b) {
    player->RenderBuffer(buffer.data());
    song.insert(song.end(), buffer.begin(), buffer.end());
  }
  // Row 1 begins with tick 6, at 6 x 882 frames, inside the third buffer.
  std::size_t first = 0;
  while (first < song.size() && song[first] == 0) ++first;
  EXPECT_EQ(first / 2, 6u * 882u);
  EXPECT_EQ(player->Module.Row, 2);
}

TEST(Player, NoChannelsRenderSilenceWhileTheSongMovesOn) {
  const std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, false);
  ConstantNoteFromRowOne(*player);
  player->Module.NumChannels = 0;
  player->Rewind();
  std::vector<std::int16_t> buffer(2048, 1);
  for (int b = 0; b < 4; ++b) player->RenderBuffer(buffer.data());
  EXPECT_EQ(buffer, std::vector<std::int16_t>(2048, 0));
  EXPECT_EQ(player->Module.Row, 2);
}

}  // namespace
