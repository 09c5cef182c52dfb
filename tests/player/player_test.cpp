// The player object on its audio device: creation and the lengths and
// settings it derives.
#include "player/output/player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

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
  for (const auto& block : player->Blocks) EXPECT_EQ(block.size(), 4096u);
  EXPECT_EQ(player->Renderer.Options().Interpolation, TTarnXMInterpolation::Sinc);
  EXPECT_TRUE(player->Renderer.Options().Clipping);
  EXPECT_EQ(TTarnXM::Create(44100, 2048, false)->BufferBytes, 4096);
}

// The ramp length and click-removal divisor that follow the rate are the
// engine's (engine_test); the player renders at the rate the device plays.
TEST(Player, RendersAtTheRateTheDeviceIsOpenedAt) {
  for (const std::int32_t rate : {44100, 22050, 8000, 100}) {
    const std::unique_ptr<TTarnXM> player = TTarnXM::Create(rate, 256, true);
    ASSERT_NE(player, nullptr) << rate;
    EXPECT_EQ(player->Format.SamplesPerSec, static_cast<std::uint32_t>(rate)) << rate;
    EXPECT_EQ(player->Renderer.Options().SampleRate, rate) << rate;
  }
}

}  // namespace
