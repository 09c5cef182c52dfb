// Thousands of damaged copies of generated modules: each must load or be
// refused without a crash, and whatever loads must keep the promises the
// mixer and sequencer rely on. Meant to run under the sanitizers too.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "player/module.h"
#include "tools/xm_writer/mod_writer.h"
#include "tools/xm_writer/rich_xm.h"

namespace {

TBytes DamageableXM(std::uint16_t version) {
  TBytes cells;
  for (int k = 0; k < 8 * 3; ++k) {
    const TBytes cell = k % 2 ? XMCell(static_cast<std::uint8_t>(k + 20), 1, 0x40, 0x0C, 0x20) : TBytes{0x83, 49, 2};
    cells.insert(cells.end(), cell.begin(), cell.end());
  }
  return RichXM(version, 3, XMPattern(8, cells), {"text", "PNAM", "CNAM", "CHFX", "FX01", "MODU"}).Build();
}

TBytes SmallMOD(const std::string& signature, int channels) {
  TMODWriter writer;
  writer.Signature = signature;
  writer.Channels = channels;
  writer.SongLength = 2;
  writer.Orders[1] = 1;
  writer.AddPattern();
  writer.AddPattern();
  writer.SetCell(0, 0, 0, 1, 428, 0xC, 0x30);
  writer.SetCell(1, 5, channels - 1, 2, 214, 0x3, 0x04);
  writer.Samples = {{8, 3, 64, 2, 4, std::nullopt}, {4, 12, 32, 0, 1, std::nullopt}};
  return writer.Build();
}

// What every loaded song promises, whatever bytes it came from.
void CheckInvariants(const TTarnXMSong& song) {
  ASSERT_GE(song.SongLength, 0);
  ASSERT_LE(song.SongLength, TTarnXMSong::MaxOrders);
  ASSERT_TRUE(song.RestartPosition == 0 || song.RestartPosition < song.SongLength);
  ASSERT_GE(song.NumChannels, 0);
  ASSERT_LE(song.NumChannels, 255);
  // Cells are held in whole rows, at most one more than the pattern plays;
  // rows past them read as empty.
  for (const TTarnXMPattern& pattern : song.Patterns)
    ASSERT_TRUE(pattern.Notes.empty() ||
                (pattern.Notes.size() % pattern.Channels == 0 &&
                 pattern.Notes.size() <= static_cast<std::size_t>(pattern.Rows + 1) * pattern.Channels));
  for (const auto& instrument : song.Instruments) {
    if (!instrument) continue;
    for (const TTarnXMEnvelope* envelope : {&instrument->VolumeEnvelope, &instrument->PanningEnvelope}) {
      ASSERT_LE(envelope->NumPoints, TTarnXMEnvelope::LoadedPoints);
      ASSERT_TRUE(!envelope->SustainEnabled || envelope->SustainPoint < envelope->NumPoints);
      ASSERT_TRUE(!envelope->LoopEnabled || envelope->LoopEnd < envelope->NumPoints);
    }
    for (const auto& sample : instrument->Samples) {
      if (!sample) continue;
      ASSERT_GE(sample->Length, 0);
      ASSERT_TRUE(sample->Length == 0 || sample->Data != nullptr);
      if (sample->Loop) {
        ASSERT_GT(sample->LoopLength, 0);
        ASSERT_GE(sample->LoopStart, 0);
        ASSERT_LE(std::int64_t{sample->LoopStart} + sample->LoopLength, sample->Length);
      }
      // Touch the whole block the mixer may read, guards included.
      std::int64_t sum = 0;
      if (sample->Data)
        for (std::int64_t k = -4 * sample->Channels; k < (std::int64_t{sample->Length} + 4) * sample->Channels; ++k)
          sum += sample->Data[k];
      (void)sum;
    }
  }
}

void CheckCleared(const TTarnXMModule& module) {
  ASSERT_FALSE(module.Loaded);
  ASSERT_EQ(module.Song->SongLength, 0);
  for (const auto& instrument : module.Song->Instruments) ASSERT_EQ(instrument, nullptr);
  for (const TTarnXMPattern& pattern : module.Song->Patterns) ASSERT_TRUE(pattern.Notes.empty());
}

TBytes Mutate(const TBytes& original, std::mt19937& random) {
  TBytes bytes = original;
  const auto pick = [&](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };
  const int edits = 1 + static_cast<int>(pick(8));
  for (int e = 0; e < edits && !bytes.empty(); ++e) {
    switch (pick(6)) {
      case 0: bytes[pick(bytes.size())] = static_cast<std::uint8_t>(random()); break;
      case 1: bytes[pick(bytes.size())] = 0xFF; break;
      case 2: bytes[pick(bytes.size())] ^= static_cast<std::uint8_t>(1u << pick(8)); break;
      case 3: bytes.resize(pick(bytes.size())); break;
      case 4:
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size())),
                     static_cast<std::uint8_t>(random()));
        break;
      default: bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size()))); break;
    }
  }
  return bytes;
}

TEST(LoaderFuzz, DamagedModulesLoadOrFailCleanly) {
  const std::vector<TBytes> originals{DamageableXM(0x0104), DamageableXM(0x0103), DamageableXM(0x0102),
                                      SmallMOD("M.K.", 4),  SmallMOD("6CHN", 6),  SmallMOD("", 4)};
  TTarnXMModule module;
  for (const TBytes& original : originals) ASSERT_TRUE(module.LoadFromMemory(original.data(), original.size()));
  std::mt19937 random(20240607);
  int loaded = 0;
  constexpr int Copies = 10000;
  for (int n = 0; n < Copies; ++n) {
    const TBytes bytes = Mutate(originals[n % originals.size()], random);
    if (module.LoadFromMemory(bytes.data(), bytes.size())) {
      ++loaded;
      ASSERT_NO_FATAL_FAILURE(CheckInvariants(*module.Song)) << "copy " << n;
    } else {
      ASSERT_NE(module.LoadError, TTarnXMLoadError::None) << "copy " << n;
      ASSERT_NO_FATAL_FAILURE(CheckCleared(module)) << "copy " << n;
    }
  }
  // Damage that keeps the size often leaves a module loadable; a MOD of the
  // wrong size never is.
  EXPECT_GT(loaded, Copies / 10);
  EXPECT_LT(loaded, Copies);
}

}  // namespace
