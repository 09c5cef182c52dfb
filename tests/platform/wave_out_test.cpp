#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/wave_out.h"

using namespace platform;

namespace {

TWaveFormat StereoFormat(std::uint32_t rate) {
  TWaveFormat format;
  format.Channels = 2;
  format.SamplesPerSec = rate;
  format.AvgBytesPerSec = rate * 4;
  format.BlockAlign = 4;
  format.BitsPerSample = 16;
  return format;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::filesystem::path TempPath(const char* name) {
  return std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()));
}

}  // namespace

TEST(WaveOutTest, TheNullDeviceFailsToOpenAndEveryLaterCallFailsWithoutStillPlaying) {
  auto device = CreateNullWaveOut();
  TWaveHeader header;
  EXPECT_NE(device->Open(StereoFormat(44100)), MMSYSERR_NOERROR);
  EXPECT_NE(device->PrepareHeader(header), MMSYSERR_NOERROR);
  EXPECT_NE(device->Write(header), MMSYSERR_NOERROR);
  const std::uint32_t unprepare = device->UnprepareHeader(header);
  EXPECT_NE(unprepare, MMSYSERR_NOERROR);
  EXPECT_NE(unprepare, WAVERR_STILLPLAYING);
  EXPECT_NE(device->Close(), MMSYSERR_NOERROR);
  // Without a choice by the program, the player gets the null device.
  EXPECT_NE(CreateWaveOut()->Open(StereoFormat(44100)), MMSYSERR_NOERROR);
}

TEST(WaveOutTest, TheWavSinkWritesEveryBufferInOrderBehindACorrectHeader) {
  const auto path = TempPath("driftlow-wave-");
  {
    auto device = CreateWavFileWaveOut(path.string());
    ASSERT_EQ(device->Open(StereoFormat(22050)), MMSYSERR_NOERROR);
    std::vector<std::uint8_t> first(8, 0x11), second(4, 0x22);
    TWaveHeader a, b;
    a.Data = first.data();
    a.BufferLength = 8;
    b.Data = second.data();
    b.BufferLength = 4;
    EXPECT_EQ(device->Write(a), WAVERR_UNPREPARED);
    for (TWaveHeader* header : {&a, &b}) {
      ASSERT_EQ(device->PrepareHeader(*header), MMSYSERR_NOERROR);
      ASSERT_EQ(device->Write(*header), MMSYSERR_NOERROR);
      EXPECT_TRUE(header->Flags & WHDR_DONE);
      EXPECT_EQ(device->UnprepareHeader(*header), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(device->Close(), MMSYSERR_NOERROR);
  }
  const auto bytes = ReadFile(path);
  std::filesystem::remove(path);
  ASSERT_EQ(bytes.size(), 44u + 12u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(bytes[4], 36 + 12);
  EXPECT_EQ(bytes[22], 2);                       // channels
  EXPECT_EQ(bytes[24] | bytes[25] << 8, 22050);  // rate
  EXPECT_EQ(bytes[34], 16);                      // bits
  EXPECT_EQ(bytes[40], 12);                      // data bytes
  EXPECT_EQ(bytes[44], 0x11);
  EXPECT_EQ(bytes[52], 0x22);
}

// SDL's "disk" audio driver plays into a file at the real rate, so the device
// path can be checked end to end without a sound card.
TEST(WaveOutTest, TheSdlDeviceMarksBuffersDoneInOrderAndPlaysTheirBytes) {
  const auto path = TempPath("driftlow-sdl-audio-");
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "1", 1);
  auto device = CreateSdlWaveOut();
  ASSERT_EQ(device->Open(StereoFormat(44100)), MMSYSERR_NOERROR);
  std::vector<std::vector<std::uint8_t>> blocks;
  std::vector<TWaveHeader> headers(4);
  for (int i = 0; i < 4; ++i) {
    blocks.emplace_back(4096 * 4, static_cast<std::uint8_t>(i + 1));
    headers[i].Data = blocks[i].data();
    headers[i].BufferLength = static_cast<std::uint32_t>(blocks[i].size());
    ASSERT_EQ(device->PrepareHeader(headers[i]), MMSYSERR_NOERROR);
    ASSERT_EQ(device->Write(headers[i]), MMSYSERR_NOERROR);
  }
  EXPECT_EQ(device->UnprepareHeader(headers[3]), WAVERR_STILLPLAYING);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!(headers[3].Flags & WHDR_DONE) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  for (auto& header : headers) {
    EXPECT_TRUE(header.Flags & WHDR_DONE);
    EXPECT_EQ(device->UnprepareHeader(header), MMSYSERR_NOERROR);
  }
  EXPECT_EQ(device->Reset(), MMSYSERR_NOERROR);
  EXPECT_EQ(device->Close(), MMSYSERR_NOERROR);
  unsetenv("SDL_AUDIODRIVER");
  const auto played = ReadFile(path);
  std::filesystem::remove(path);
  ASSERT_GE(played.size(), 4u * 4096 * 4);
  // The buffers went out back to back, in the order they were written.
  auto first = std::find(played.begin(), played.end(), 1);
  ASSERT_NE(first, played.end());
  for (int i = 0; i < 4; ++i)
    for (std::size_t k = 0; k < blocks[i].size(); k += 1024)
      EXPECT_EQ(*(first + static_cast<std::ptrdiff_t>(i * blocks[i].size() + k)), i + 1);
}

// SDL's "dummy" driver takes the sound at the real rate and plays nothing.
TEST(WaveOutTest, TheSdlDeviceCountsEachTimeItRunsDryOnceAndHoldsWhilePaused) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  auto device = CreateSdlWaveOut();
  ASSERT_EQ(device->Open(StereoFormat(44100)), MMSYSERR_NOERROR);
  std::vector<std::uint8_t> block(2048 * 4, 7);
  TWaveHeader header;
  header.Data = block.data();
  header.BufferLength = static_cast<std::uint32_t>(block.size());
  ASSERT_EQ(device->PrepareHeader(header), MMSYSERR_NOERROR);
  const auto playOut = [&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!(header.Flags & WHDR_DONE) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  };
  // Idle before the first buffer is no underrun.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(device->Underruns(), 0u);
  ASSERT_EQ(device->Write(header), MMSYSERR_NOERROR);
  playOut();
  EXPECT_TRUE(header.Flags & WHDR_DONE);
  EXPECT_EQ(device->Underruns(), 1u);

  EXPECT_EQ(device->Pause(), MMSYSERR_NOERROR);
  ASSERT_EQ(device->Write(header), MMSYSERR_NOERROR);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_FALSE(header.Flags & WHDR_DONE);
  EXPECT_EQ(device->Underruns(), 1u);
  EXPECT_EQ(device->Restart(), MMSYSERR_NOERROR);
  playOut();
  EXPECT_TRUE(header.Flags & WHDR_DONE);
  EXPECT_EQ(device->Underruns(), 2u);
  EXPECT_EQ(device->Close(), MMSYSERR_NOERROR);
  unsetenv("SDL_AUDIODRIVER");
}
