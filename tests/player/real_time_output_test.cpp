// Twenty seconds of the intro's music through SDL's dummy driver, which takes
// the sound at the real rate, while other threads keep every core busy as the
// intro's renderer does: the device must never run dry.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <thread>
#include <vector>

#include "platform/resources.h"
#include "platform/wave_out.h"
#include "platform/win_types.h"
#include "player/output/player.h"

using namespace platform;
using Clock = std::chrono::steady_clock;

namespace {

struct TTimings {
  Clock::time_point RefillStart;
  Clock::time_point LastWrite;
  Clock::duration LongestGap{};
  Clock::duration LongestRefill{};
  int Writes = 0;
};

// The SDL device, timing what the player asks of it: how long a buffer takes
// from the device's hand-back to its write, and the longest time the device
// went without a new buffer. Only the output thread calls it while it plays.
class TTimedWaveOut final : public TWaveOut {
 public:
  explicit TTimedWaveOut(std::shared_ptr<TTimings> timings) : Timings(std::move(timings)) {}
  std::uint32_t Open(const TWaveFormat& format) override { return Device->Open(format); }
  std::uint32_t PrepareHeader(TWaveHeader& header) override { return Device->PrepareHeader(header); }
  std::uint32_t Write(TWaveHeader& header) override {
    const Clock::time_point now = Clock::now();
    if (Timings->Writes++ > 0) Timings->LongestGap = std::max(Timings->LongestGap, now - Timings->LastWrite);
    Timings->LongestRefill = std::max(Timings->LongestRefill, now - Timings->RefillStart);
    Timings->LastWrite = now;
    return Device->Write(header);
  }
  std::uint32_t UnprepareHeader(TWaveHeader& header) override {
    Timings->RefillStart = Clock::now();
    return Device->UnprepareHeader(header);
  }
  std::uint32_t Pause() override { return Device->Pause(); }
  std::uint32_t Restart() override { return Device->Restart(); }
  std::uint32_t Reset() override { return Device->Reset(); }
  std::uint32_t Close() override { return Device->Close(); }
  std::uint32_t Underruns() const override { return Device->Underruns(); }

 private:
  std::unique_ptr<TWaveOut> Device = CreateSdlWaveOut();
  std::shared_ptr<TTimings> Timings;
};

TEST(RealTimeOutputTest, TwentySecondsOnBusyCoresWithoutAnUnderrun) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers' slowdown says nothing about the timing of the real program";
#endif
  constexpr auto Length = std::chrono::seconds(20);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const auto timings = std::make_shared<TTimings>();
  SetWaveOutFactory([timings] { return std::make_unique<TTimedWaveOut>(timings); });
  std::atomic<bool> busy = true;
  std::vector<std::thread> load;
  for (unsigned k = 0; k < std::max(2u, std::thread::hardware_concurrency()); ++k)
    load.emplace_back([&busy] {
      volatile std::uint64_t value = 1;
      while (busy.load(std::memory_order_relaxed)) value = value * 6364136223846793005u + 1442695040888963407u;
    });

  std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
  player->Renderer.SetMasterVolume(128);
  const bool loaded = player->LoadFromResource("msx", NumericResourceType(RT_RCDATA));
  const bool opened = player->OpenResult == MMSYSERR_NOERROR;
  if (loaded && opened) {
    player->Play();
    std::this_thread::sleep_for(Length);
  }
  const std::uint32_t underruns = player->Device->Underruns();
  player->Stop();
  player.reset();
  busy = false;
  for (std::thread& thread : load) thread.join();
  SetWaveOutFactory(nullptr);
  unsetenv("SDL_AUDIODRIVER");

  ASSERT_TRUE(loaded);
  ASSERT_TRUE(opened);
  const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  std::cout << "underruns " << underruns << ", buffers " << timings->Writes << ", longest refill "
            << ms(timings->LongestRefill) << " ms, longest time without a new buffer " << ms(timings->LongestGap)
            << " ms\n";
  EXPECT_EQ(underruns, 0u);
  // The driver took the sound at the real rate, and the player kept up.
  const double buffers = std::chrono::duration<double>(Length).count() * 44100 / 2048;
  EXPECT_GT(timings->Writes, buffers * 0.95);
  EXPECT_LT(timings->Writes, buffers * 1.05 + 4);
}

}  // namespace
