// Loads every XM and MOD module of three Debian game-data packages, written
// by people who never saw this player, and checks what the loader made of
// each against the file's own header, read here independently.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "player/module.h"
#include "tests/player/package_modules.h"
#include "tools/xm_writer/byte_writer.h"

namespace {

TBytes ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(file), {});
}

std::uint32_t LE(const TBytes& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int k = size - 1; k >= 0; --k) value = value << 8 | (at + k < bytes.size() ? bytes[at + k] : 0);
  return value;
}

struct TExpectedSample {
  std::int64_t Frames;
  bool HasData;
};

// The frames of every sample of every XM instrument, by walking the file.
std::vector<std::vector<TExpectedSample>> XMSamples(const TBytes& bytes) {
  std::size_t position = 60 + LE(bytes, 60, 4);
  for (std::uint32_t p = 0; p < LE(bytes, 70, 2); ++p) position += LE(bytes, position, 4) + LE(bytes, position + 7, 2);
  std::vector<std::vector<TExpectedSample>> instruments;
  for (std::uint32_t i = 0; i < LE(bytes, 72, 2); ++i) {
    const std::size_t start = position;
    const std::uint32_t count = LE(bytes, start + 27, 2);
    position = start + LE(bytes, start, 4);
    std::vector<TExpectedSample> samples;
    std::uint64_t data = 0;
    for (std::uint32_t j = 0; j < count; ++j, position += 40) {
      const std::uint32_t length = LE(bytes, position, 4);
      const std::uint8_t type = bytes[position + 14];
      const int divisor = ((type & 0x10) ? 2 : 1) * ((type & 0x20) ? 2 : 1);
      samples.push_back({length / divisor, length / divisor > 0});
      data += length;
    }
    position += data;
    instruments.push_back(samples);
  }
  return instruments;
}

void CheckSampleForm(const TTarnXMSample& sample, const std::string& where) {
  ASSERT_GE(sample.Length, 0) << where;
  if (sample.Loop) {
    EXPECT_GT(sample.LoopLength, 0) << where;
    EXPECT_LE(std::int64_t{sample.LoopStart} + sample.LoopLength, sample.Length) << where;
  }
  if (sample.Length == 0) return;
  ASSERT_NE(sample.Data, nullptr) << where;
  // In front of frame 0: the loop's last frames when a forward loop starts
  // there, copies of frame 0 otherwise.
  const bool wraps = sample.Loop && !sample.PingPong && sample.LoopStart == 0;
  for (int k = 1; k <= 4; ++k) {
    const std::int64_t from = wraps ? std::int64_t{sample.LoopLength} - k : 0;
    EXPECT_EQ(sample.Data[-k * sample.Channels], sample.Data[from * sample.Channels]) << where;
  }
}

TEST(RealModules, LoadWithTheFactsTheirHeadersGive) {
  const std::vector<std::string> files = PackageModules();
  if (files.empty())
    GTEST_SKIP() << "the packages heroes-sound-tracks, tecnoballz-data and freedroid-data are not "
                    "installed (scripts/install-deps test installs them)";
  int xm = 0, mod = 0;
  for (const std::string& path : files) {
    const std::string name = path.substr(path.rfind('/') + 1);
    const TBytes bytes = ReadFile(path);
    TTarnXMModule module;
    ASSERT_TRUE(module.LoadFromMemory(bytes.data(), bytes.size())) << name << ": " << LoadErrorText(module.LoadError);
    const TTarnXMSong& song = *module.Song;
    int instruments = 0, samples = 0;
    for (int i = 1; i <= TTarnXMSong::MaxInstruments; ++i) {
      if (!song.Instruments[i]) continue;
      ++instruments;
      for (int j = 0; j < TTarnXMInstrument::MaxSamples; ++j) {
        const TTarnXMSample* sample = song.Instruments[i]->Samples[j].get();
        if (!sample) continue;
        samples += sample->Length > 0;
        CheckSampleForm(*sample, name + " instrument " + std::to_string(i) + " sample " + std::to_string(j));
      }
    }
    const bool isXM = std::memcmp(bytes.data(), "Extended Module: ", 17) == 0;
    if (isXM) {
      ++xm;
      EXPECT_EQ(song.Format, TTarnXMFormat::XM) << name;
      EXPECT_EQ(song.NumChannels, static_cast<int>(LE(bytes, 68, 2))) << name;
      EXPECT_EQ(song.NumPatterns, static_cast<int>(LE(bytes, 70, 2))) << name;
      EXPECT_EQ(song.SongLength, static_cast<int>(LE(bytes, 64, 2))) << name;
      EXPECT_EQ(song.LinearFrequency, (LE(bytes, 74, 2) & 1) != 0) << name;
      const auto expected = XMSamples(bytes);
      ASSERT_EQ(instruments, static_cast<int>(expected.size())) << name;
      for (std::size_t i = 0; i < expected.size(); ++i)
        for (std::size_t j = 0; j < expected[i].size(); ++j) {
          const TTarnXMSample& sample = *song.Instruments[i + 1]->Samples[j];
          EXPECT_EQ(sample.Length, expected[i][j].Frames) << name << " " << i + 1 << "/" << j;
          EXPECT_EQ(sample.Data != nullptr, expected[i][j].HasData) << name << " " << i + 1 << "/" << j;
        }
    } else {
      ++mod;
      EXPECT_EQ(song.Format, TTarnXMFormat::MOD) << name;
      EXPECT_EQ(instruments, 31) << name;
      int withData = 0;
      std::int64_t sampleBytes = 0;
      for (int k = 0; k < 31; ++k) {
        const std::int32_t length = 2 * static_cast<std::int32_t>(bytes[42 + 30 * k] << 8 | bytes[43 + 30 * k]);
        withData += length > 0;
        sampleBytes += length;
        EXPECT_EQ(song.Instruments[k + 1]->Samples[0]->Length, length) << name << " sample " << k + 1;
      }
      EXPECT_EQ(samples, withData) << name;
      int highest = 0;
      for (int k = 0; k < 128; ++k)
        if (bytes[952 + k] < 128) highest = std::max<int>(highest, bytes[952 + k]);
      EXPECT_EQ(song.NumPatterns, highest + 1) << name;
      EXPECT_EQ(song.Signature, std::string(bytes.begin() + 1080, bytes.begin() + 1084)) << name;
      EXPECT_EQ(1084 + std::int64_t{song.NumPatterns} * song.NumChannels * 256 + sampleBytes,
                static_cast<std::int64_t>(bytes.size()))
          << name;
    }
    std::printf("  %-40s %s, %d channels, %d patterns, %d instruments, %d samples with data\n", name.c_str(),
                isXM ? "XM" : "MOD", song.NumChannels, song.NumPatterns, instruments, samples);
  }
  EXPECT_GT(xm, 0);
  EXPECT_GT(mod, 0);
}

}  // namespace
