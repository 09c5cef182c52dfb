#include "tests/tarnxm/render_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "tools/tarnxm/tarnxm.h"

namespace {

std::uint32_t LE(const TBytes& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int k = size - 1; k >= 0; --k) value = value << 8 | bytes[at + k];
  return value;
}

void Append(TBytes& to, const TBytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

}  // namespace

TXMInstrumentWriter LoopedInstrument(const std::vector<std::int8_t>& cycle) {
  TXMInstrumentWriter instrument;
  TXMSampleWriter sample;
  sample.Data = Delta8(cycle);
  sample.Type = 1;
  sample.LoopLength = static_cast<std::uint32_t>(cycle.size());
  instrument.Samples = {sample};
  return instrument;
}

TXMInstrumentWriter SquareInstrument(std::int8_t amplitude) {
  std::vector<std::int8_t> square(32, amplitude);
  std::fill(square.begin() + 16, square.end(), static_cast<std::int8_t>(-amplitude));
  return LoopedInstrument(square);
}

bool ParseWav(const TBytes& bytes, TWavFile& wav) {
  if (bytes.size() < 44 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
      std::string(bytes.begin() + 8, bytes.begin() + 16) != "WAVEfmt " ||
      std::string(bytes.begin() + 36, bytes.begin() + 40) != "data")
    return false;
  wav.RiffSize = LE(bytes, 4, 4);
  wav.Tag = static_cast<std::uint16_t>(LE(bytes, 20, 2));
  wav.Channels = static_cast<std::uint16_t>(LE(bytes, 22, 2));
  wav.Rate = LE(bytes, 24, 4);
  wav.Bits = static_cast<std::uint16_t>(LE(bytes, 34, 2));
  wav.DataSize = LE(bytes, 40, 4);
  wav.DataBytes = bytes.size() - 44;
  const int size = wav.Bits / 8;
  if (size < 2 || LE(bytes, 32, 2) != wav.Channels * static_cast<std::uint32_t>(size)) return false;
  for (std::size_t at = 44; at + size <= bytes.size(); at += size) {
    const std::uint32_t value = LE(bytes, at, size);
    const int shift = 32 - 8 * size;
    wav.Samples.push_back(static_cast<std::int32_t>(value << shift) >> shift);
  }
  return true;
}

TBytes OneNoteSong(const std::vector<std::int8_t>& cycle) {
  TXMWriter writer;
  writer.Channels = 1;
  TBytes cells = XMCell(49, 1);
  const TBytes empty = EmptyXMCells(3);
  cells.insert(cells.end(), empty.begin(), empty.end());
  writer.Patterns.push_back(XMPattern(4, cells));
  writer.Instruments = {LoopedInstrument(cycle)};
  return writer.Build();
}

TBytes FourChannelSong() {
  TXMWriter writer;
  writer.Channels = 4;
  const std::uint8_t notes[] = {49, 53, 56, 61};
  const std::uint8_t pans[] = {0x20, 0x60, 0xA0, 0xE0};
  TBytes cells;
  for (int row = 0; row < 16; ++row)
    for (int channel = 0; channel < 4; ++channel)
      // Each channel starts at row 0 and again, a step higher, at row 8.
      Append(cells, row % 8 == 0
                        ? XMCell(static_cast<std::uint8_t>(notes[channel] + row / 8), 1, 0x10 + 32, 0x08, pans[channel])
                        : EmptyXMCells(1));
  writer.Patterns.push_back(XMPattern(16, cells));
  writer.Instruments = {SquareInstrument()};
  return writer.Build();
}

TBytes TwoSubsongSong() {
  TXMWriter writer;
  writer.Channels = 1;
  writer.SongLength = 2;
  writer.Orders[1] = 1;
  TBytes first = XMCell(49, 1);
  Append(first, EmptyXMCells(6));
  Append(first, XMCell(0, 0, 0, 0x0B, 0));
  TBytes second = XMCell(61, 1);
  Append(second, EmptyXMCells(7));
  writer.Patterns = {XMPattern(8, first), XMPattern(8, second)};
  writer.Instruments = {SquareInstrument()};
  return writer.Build();
}

void TarnXMRenderTest::SetUp() {
  Folder = std::filesystem::temp_directory_path() / ("tarnxm-render-" + std::to_string(getpid()) + "-" +
                                                     testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(Folder);
  std::filesystem::create_directories(Folder);
}

void TarnXMRenderTest::TearDown() { std::filesystem::remove_all(Folder); }

std::string TarnXMRenderTest::Write(const std::string& name, const TBytes& bytes) {
  const std::string path = Path(name);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return path;
}

TBytes TarnXMRenderTest::Read(const std::string& path) const {
  std::ifstream file(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(file), {});
}

TWavFile TarnXMRenderTest::ReadWav(const std::string& path) const {
  TWavFile wav;
  EXPECT_TRUE(ParseWav(Read(path), wav)) << path;
  return wav;
}

std::vector<std::string> TarnXMRenderTest::FilesEndingWith(const std::string& suffix) const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Folder))
    if (entry.path().string().ends_with(suffix)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

int TarnXMRenderTest::Run(const std::vector<std::string>& args) {
  Out.str("");
  Err.str("");
  return RunTarnXM(args, Out, Err);
}

std::filesystem::path TarnXMRenderTest::Tool() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tarnxm";
}
