// The player's output thread and its device: the order and content of the
// buffers it queues, Play and Stop, destruction in every state, and loads
// while the song plays. Run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "platform/resources.h"
#include "platform/wave_out.h"
#include "platform/win_types.h"
#include "player/output/player.h"
#include "tools/xm_writer/xm_file_writer.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

// What a recording device was given, shared with the test.
struct TRecord {
  std::mutex Lock;
  std::condition_variable Written;
  std::vector<const std::uint8_t*> Blocks;  // the data block of each buffer, in the order written
  std::vector<std::uint8_t> Bytes;
  bool KeepBuffers = false;  // never hand a buffer back, not even on a reset

  // Waits until count buffers have come; false after a few seconds.
  bool WaitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(Lock);
    return Written.wait_for(lock, 10s, [&] { return Blocks.size() >= count; });
  }
  std::size_t Count() {
    const std::lock_guard<std::mutex> guard(Lock);
    return Blocks.size();
  }
};

// A device that plays each buffer the moment it is written, keeping a copy.
class TRecordingWaveOut final : public TWaveOut {
 public:
  explicit TRecordingWaveOut(std::shared_ptr<TRecord> record) : Record(std::move(record)) {}
  std::uint32_t Open(const TWaveFormat&) override { return MMSYSERR_NOERROR; }
  std::uint32_t PrepareHeader(TWaveHeader& header) override {
    header.Flags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
  }
  std::uint32_t Write(TWaveHeader& header) override {
    const std::lock_guard<std::mutex> guard(Record->Lock);
    Record->Blocks.push_back(header.Data);
    Record->Bytes.insert(Record->Bytes.end(), header.Data, header.Data + header.BufferLength);
    header.Flags |= Record->KeepBuffers ? WHDR_INQUEUE : WHDR_DONE;
    Record->Written.notify_all();
    return MMSYSERR_NOERROR;
  }
  std::uint32_t UnprepareHeader(TWaveHeader& header) override {
    if (header.Flags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    header.Flags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
  }
  std::uint32_t Pause() override { return MMSYSERR_NOERROR; }
  std::uint32_t Restart() override { return MMSYSERR_NOERROR; }
  std::uint32_t Reset() override { return MMSYSERR_NOERROR; }
  std::uint32_t Close() override { return MMSYSERR_NOERROR; }
  std::uint32_t Underruns() const override { return 0; }

 private:
  std::shared_ptr<TRecord> Record;
};

// One channel, a constant looped sample struck on every pattern's first row;
// speed 1, so that rows pass every 882 frames; three orders of 32 rows.
TBytes StruckSong() {
  TXMWriter writer;
  writer.Channels = 1;
  writer.Speed = 1;
  writer.SongLength = 3;
  writer.Orders = {0, 0, 0};
  TBytes cells = XMCell(49, 1);
  const TBytes rest = EmptyXMCells(31);
  cells.insert(cells.end(), rest.begin(), rest.end());
  writer.Patterns.push_back(XMPattern(32, cells));
  TXMInstrumentWriter instrument;
  TXMSampleWriter sample;
  sample.Data = Delta8(std::vector<std::int8_t>(64, 100));
  sample.Type = 1;
  sample.LoopLength = 64;
  instrument.Samples = {sample};
  writer.Instruments = {instrument};
  return writer.Build();
}

class PlayerThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetWaveOutFactory([record = Record] { return std::make_unique<TRecordingWaveOut>(record); });
  }
  void TearDown() override { SetWaveOutFactory(nullptr); }

  std::unique_ptr<TTarnXM> StruckPlayer() {
    std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
    const TBytes song = StruckSong();
    EXPECT_TRUE(player->LoadFromMemory(song.data(), song.size()));
    return player;
  }

  // The song's position, read between refills.
  static std::int32_t OrderOf(TTarnXM& player) {
    player.Enter();
    const std::int32_t order = player.Renderer.Info().Order;
    player.Leave();
    return order;
  }

  const std::shared_ptr<TRecord> Record = std::make_shared<TRecord>();
};

TEST_F(PlayerThreadTest, TheFirstRefillStartsWithATickAndTheBuffersCycleInOrder) {
  std::unique_ptr<TTarnXM> player = StruckPlayer();
  EXPECT_EQ(player->OpenResult, MMSYSERR_NOERROR);
  EXPECT_EQ(player->Format.AvgBytesPerSec, 176400u);
  EXPECT_EQ(player->Format.BlockAlign, 4);
  // Created, the thread waits: nothing is queued before Play.
  std::this_thread::sleep_for(60ms);
  EXPECT_EQ(Record->Count(), 0u);
  ASSERT_TRUE(player->Play());
  ASSERT_TRUE(Record->WaitFor(10));
  player.reset();

  for (std::size_t k = 0; k < Record->Blocks.size(); ++k) EXPECT_EQ(Record->Blocks[k], Record->Blocks[k % 4]) << k;
  EXPECT_NE(Record->Blocks[0], Record->Blocks[1]);
  // The note of row 0 sounds within the ramp at the start of buffer 0, so
  // its tick came at frame 0.
  const auto* frames = reinterpret_cast<const std::int16_t*>(Record->Bytes.data());
  EXPECT_NE(*std::max_element(frames, frames + 2 * 128), 0);
}

TEST_F(PlayerThreadTest, StopPausesBetweenRefillsAndPlayRestartsFromTheFirstOrder) {
  std::unique_ptr<TTarnXM> player = StruckPlayer();
  ASSERT_TRUE(player->Play());
  // 20 buffers are 46 rows: the song is in its second order.
  ASSERT_TRUE(Record->WaitFor(20));
  player->Stop();
  player->Stop();
  EXPECT_GE(OrderOf(*player), 1);
  const std::size_t stopped = Record->Count();
  std::this_thread::sleep_for(150ms);
  EXPECT_EQ(Record->Count(), stopped);

  ASSERT_TRUE(player->Play());
  ASSERT_TRUE(Record->WaitFor(stopped + 4));
  player->Stop();
  // The first refills after Play cover 9 rows a time of the first order.
  EXPECT_EQ(OrderOf(*player), 0);
}

TEST_F(PlayerThreadTest, PlayWithoutASongLeavesTheThreadWaiting) {
  std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
  EXPECT_FALSE(player->Play());
  std::this_thread::sleep_for(60ms);
  EXPECT_EQ(Record->Count(), 0u);
}

TEST_F(PlayerThreadTest, CyclesOfPlayStopAndDestructionEndCleanlyInEveryState) {
  std::mt19937 random(5);
  const TBytes song = StruckSong();
  for (int cycle = 0; cycle < 12; ++cycle) {
    std::unique_ptr<TTarnXM> player = TTarnXM::Create(22050, 512, cycle % 2 == 0);
    ASSERT_TRUE(player->LoadFromMemory(song.data(), song.size()));
    switch (cycle % 4) {
      case 0:  // destroyed without ever playing
        break;
      case 1:  // stopped, then destroyed
        player->Play();
        player->Stop();
        break;
      case 2:  // played, stopped, played again, destroyed while playing
        player->Play();
        player->Play();
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 20));
        player->Stop();
        player->Play();
        break;
      default:  // destroyed at once, most likely during the first refill
        player->Play();
        break;
    }
    player.reset();
  }
  SUCCEED();
}

TEST_F(PlayerThreadTest, ALoadWhileTheSongPlaysWaitsForTheRefillAndPlaysOn) {
  std::unique_ptr<TTarnXM> player = StruckPlayer();
  ASSERT_TRUE(player->Play());
  ASSERT_TRUE(Record->WaitFor(4));
  const TBytes song = StruckSong();
  for (int k = 0; k < 5; ++k) {
    EXPECT_TRUE(player->LoadFromMemory(song.data(), song.size()));
    EXPECT_FALSE(player->LoadFromResource("no such song", "#10"));
    player->Clear();
  }
  EXPECT_TRUE(player->LoadFromMemory(song.data(), song.size()));
  EXPECT_TRUE(player->Play());
  const std::size_t before = Record->Count();
  EXPECT_TRUE(Record->WaitFor(before + 8));
}

TEST_F(PlayerThreadTest, ADeviceThatFailsToOpenLeavesThePlayerSilent) {
  SetWaveOutFactory(CreateNullWaveOut);
  std::unique_ptr<TTarnXM> player = StruckPlayer();
  EXPECT_NE(player->OpenResult, MMSYSERR_NOERROR);
  EXPECT_TRUE(player->Play());
  player->Stop();
  EXPECT_TRUE(player->Play());
  player.reset();
}

// The intro's music, through the WAV sink: every byte as the offline
// rendering gives it.
TEST_F(PlayerThreadTest, TheWavSinkGetsExactlyTheOfflineRendering) {
  const auto path = std::filesystem::temp_directory_path() / ("driftlow-player-" + std::to_string(::getpid()));
  SetWaveOutFactory([&] { return CreateWavFileWaveOut(path.string()); });
  const auto intro = [] {
    std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 2048, true);
    player->Renderer.SetMasterVolume(128);
    EXPECT_TRUE(player->LoadFromResource("msx", NumericResourceType(RT_RCDATA)));
    return player;
  };
  {
    std::unique_ptr<TTarnXM> player = intro();
    ASSERT_TRUE(player->Play());
    std::this_thread::sleep_for(300ms);
  }
  std::vector<std::uint8_t> wav;
  {
    // Closed before the removal, which Windows refuses for an open file.
    std::ifstream file(path, std::ios::binary);
    wav.assign(std::istreambuf_iterator<char>(file), {});
  }
  std::filesystem::remove(path);
  ASSERT_GE(wav.size(), 44u + 4 * 8192);
  const std::vector<std::uint8_t> played(wav.begin() + 44, wav.end());
  ASSERT_EQ(played.size() % 8192, 0u);

  SetWaveOutFactory(nullptr);
  std::unique_ptr<TTarnXM> offline = intro();
  offline->Renderer.Rewind();
  std::vector<std::uint8_t> rendered(played.size());
  for (std::size_t offset = 0; offset < rendered.size(); offset += 8192)
    offline->RenderBuffer(reinterpret_cast<std::int16_t*>(rendered.data() + offset));
  EXPECT_TRUE(played == rendered);
}

// Destruction waits a bounded time for a device that keeps its buffers,
// then closes it all the same.
TEST(PlayerOutputTest, DestructionWaitsAFewSecondsAtMostForTheDevice) {
  const auto record = std::make_shared<TRecord>();
  record->KeepBuffers = true;
  SetWaveOutFactory([record] { return std::make_unique<TRecordingWaveOut>(record); });
  std::unique_ptr<TTarnXM> player = TTarnXM::Create(44100, 256, true);
  const TBytes song = StruckSong();
  ASSERT_TRUE(player->LoadFromMemory(song.data(), song.size()));
  ASSERT_TRUE(player->Play());
  ASSERT_TRUE(record->WaitFor(4));
  const auto start = std::chrono::steady_clock::now();
  player.reset();
  const auto waited = std::chrono::steady_clock::now() - start;
  SetWaveOutFactory(nullptr);
  EXPECT_GE(waited, 4s);
  EXPECT_LT(waited, 8s);
  EXPECT_EQ(record->Count(), 4u);
}

}  // namespace
