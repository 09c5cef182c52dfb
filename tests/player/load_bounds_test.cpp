// What a module may cost to load: hostile headers that promise far more than
// their bytes hold must not make the loader allocate more than 64 bytes per
// byte of input plus 16 MiB.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tarnxm/tarnxm.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

// Live and peak bytes allocated through operator new while a count runs.
std::atomic<bool> Counting{false};
std::atomic<std::int64_t> LiveBytes{0};
std::atomic<std::int64_t> PeakBytes{0};
// Each block carries its size in front, so that a delete can count it off.
constexpr std::size_t Prefix = alignof(std::max_align_t);

std::int64_t PeakLoadBytes(const TBytes& bytes) {
  LiveBytes = 0;
  PeakBytes = 0;
  Counting = true;
  const TTarnXMLoad load = LoadModule(bytes.data(), bytes.size());
  Counting = false;
  return PeakBytes;
}

TEST(LoadBounds, HostileHeadersCostNoMoreThanTheirBytes) {
  struct TCase {
    const char* What;
    TXMWriter Writer;
  };
  std::vector<TCase> cases;
  {
    // 256 patterns of 256 rows of 255 channels, each with one byte of cells.
    TXMWriter writer;
    writer.Channels = 255;
    for (int p = 0; p < 256; ++p) writer.Patterns.push_back(XMPattern(256, {0x80}));
    cases.push_back({"patterns", writer});
  }
  {
    // 255 instruments of 256 sample headers each, every one claiming 4 GiB
    // of data that is not there.
    TXMWriter writer;
    TXMInstrumentWriter instrument;
    TXMSampleWriter sample;
    sample.Length = 0xFFFFFFFF;
    instrument.Samples.assign(256, sample);
    writer.Instruments.assign(255, instrument);
    cases.push_back({"samples", writer});
  }
  {
    // Every extension chunk, each one byte long.
    TXMWriter writer;
    for (int k = 0; k < 100; ++k)
      writer.Trailer = [&] {
        TBytes all = writer.Trailer;
        const std::string id = "FX" + std::to_string(k / 10) + std::to_string(k % 10);
        const TBytes chunk = XMChunk(id, {1});
        all.insert(all.end(), chunk.begin(), chunk.end());
        return all;
      }();
    cases.push_back({"chunks", writer});
  }
  for (const TCase& c : cases) {
    const TBytes bytes = c.Writer.Build();
    const std::int64_t bound = 64 * static_cast<std::int64_t>(bytes.size()) + (std::int64_t{16} << 20);
    EXPECT_LE(PeakLoadBytes(bytes), bound) << c.What << ", " << bytes.size() << " bytes";
  }
}

}  // namespace

void* operator new(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + Prefix));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  if (Counting) {
    const std::int64_t live = LiveBytes += static_cast<std::int64_t>(size);
    std::int64_t peak = PeakBytes;
    while (live > peak && !PeakBytes.compare_exchange_weak(peak, live)) {
    }
  }
  return block + Prefix;
}

void operator delete(void* pointer) noexcept {
  if (!pointer) return;
  unsigned char* block = static_cast<unsigned char*>(pointer) - Prefix;
  if (Counting) LiveBytes -= static_cast<std::int64_t>(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
