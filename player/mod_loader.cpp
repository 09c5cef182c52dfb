#include "player/mod_loader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "base/byte_reader.h"
#include "player/sample_decoders.h"
#include "player/text_field.h"

namespace {

// Note periods of fine tune 0 over five octaves, from note 25 on.
constexpr std::array<std::int32_t, 60> PeriodTable{
    1712, 1616, 1524, 1440, 1356, 1280, 1208, 1140, 1076, 1016, 960, 906, 856, 808, 762, 720, 678, 640, 604, 570,
    538,  508,  480,  453,  428,  404,  381,  360,  339,  320,  302, 285, 269, 254, 240, 226, 214, 202, 190, 180,
    170,  160,  151,  143,  135,  127,  120,  113,  107,  101,  95,  90,  85,  80,  75,  71,  67,  63,  60,  56};
constexpr std::int32_t FirstTableNote = 25;

struct TMODLayout {
  int Samples;
  std::int64_t HeaderSize;  // where the patterns begin
  int SongLength;           // offset of the song length; restart and orders follow
};
constexpr TMODLayout Layout31{31, 1084, 950};
constexpr TMODLayout Layout15{15, 600, 470};
constexpr int SignatureOffset = 1080;
constexpr int SampleHeadersOffset = 20;
constexpr int SampleHeaderSize = 30;
constexpr int MODOrders = 128;
constexpr int MODRows = 64;
constexpr std::int64_t CellSize = 4;
constexpr std::int64_t PatternBytesPerChannel = MODRows * CellSize;

int Digit(char c) { return c - '0'; }

// The number of patterns the order list uses: one more than its highest entry
// below 128 (entries of 128 and more are ignored).
std::int64_t OrderedPatterns(std::span<const std::uint8_t> orders) {
  std::int64_t highest = 0;
  for (const std::uint8_t order : orders)
    if (order < 128) highest = std::max<std::int64_t>(highest, order);
  return highest + 1;
}

// The pattern count from the block's size: the order list usually decides, the
// size where the list names more patterns than the block holds.
std::int64_t PatternCount(std::int64_t fitting, std::int64_t ordered, bool fifteenSamples, std::string_view signature) {
  if (fifteenSamples || (fitting > 64 && ordered <= 64)) fitting = ordered;
  std::int64_t count = fitting;
  if (fitting >= ordered || ordered <= 64 || signature == "M!K!") count = ordered;
  return std::min<std::int64_t>(count, 128);
}

TTarnXMPatternNote ReadCell(TByteReader& reader) {
  std::array<std::uint8_t, CellSize> cell;
  reader.ReadBytes(cell.data(), CellSize);
  TTarnXMPatternNote note;
  note.Note = PeriodToNote((cell[0] & 0x0F) << 8 | cell[1]);
  note.Instrument = (cell[0] & 0xF0) | cell[2] >> 4;
  note.Effect = cell[2] & 0x0F;
  note.EffectParameter = cell[3];
  return note;
}

// A loop of one word is how a sample without a loop is stored.
void FitLoop(TTarnXMSample& sample) {
  if (sample.Length < sample.LoopStart) {
    sample.LoopStart = 0;
    sample.LoopLength = 0;
  }
  if (sample.LoopStart + sample.LoopLength > sample.Length)
    sample.LoopLength = std::max(sample.Length - sample.LoopStart, 2);
  sample.Loop = sample.LoopLength > 2;
}

constexpr std::string_view ADPCMMark = "ADPCM";

// Samples stored as 4-bit ADPCM begin with a mark; the rest are 8-bit.
bool IsADPCM(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= ADPCMMark.size() && std::memcmp(bytes.data(), ADPCMMark.data(), ADPCMMark.size()) == 0;
}

// The sample's bytes, read through a reader of its own block.
bool ReadSampleData(TByteReader& reader, TTarnXMSample& sample) {
  const std::int64_t start = reader.ReadPosition;
  if (IsADPCM(reader.Take(static_cast<std::int64_t>(ADPCMMark.size())))) {
    TByteReader block = reader.Block(ADPCMBytes(sample.Length));
    return DecodeADPCM(block, sample, sample.Length);
  }
  reader.ReadPosition = start;
  if (!sample.AllocateData(static_cast<std::size_t>(sample.Length))) return false;
  const std::span<const std::uint8_t> bytes = reader.Block(sample.Length).Take(sample.Length);
  for (std::size_t k = 0; k < bytes.size(); ++k) sample.Data[k] = static_cast<std::int8_t>(bytes[k]) * 256;
  return true;
}

}  // namespace

std::optional<int> MODSignatureChannels(std::string_view g) {
  for (const std::string_view four : {"M.K.", "M!K!", "M&K!", "N.T."})
    if (g == four) return 4;
  for (const std::string_view eight : {"OCTA", "OKTA", "CD81", "WOW!"})
    if (g == eight) return 8;
  if (g.size() != 4) return std::nullopt;
  if (g.starts_with("TDZ")) return Digit(g[3]);
  if (g.starts_with("FLT") || g.starts_with("EXO")) return g[3] >= 39 && g[3] <= 46 ? 0 : Digit(g[3]);
  if (g.substr(1) == "CHN") return Digit(g[0]);
  if (g.substr(2) == "CN" || g.substr(2) == "CH") return 10 * Digit(g[0]) + Digit(g[1]);
  if (g.starts_with("EX")) return 10 * Digit(g[2]) + Digit(g[3]);
  return std::nullopt;
}

std::int32_t PeriodToNote(std::int32_t period) {
  if (period == 0) return 0;
  for (std::size_t i = 0; i < PeriodTable.size(); ++i)
    if (period >= PeriodTable[i]) return static_cast<std::int32_t>(i) + FirstTableNote;
  return 0;
}

std::int32_t MODFineTune(std::uint8_t value) {
  const std::int32_t nibble = std::min<std::int32_t>(value, 15);
  return (nibble <= 7 ? nibble : nibble - 16) * 16;
}

namespace {

// What the header says of the file's shape: its layout, channels and
// patterns, or why it is not a MOD the loader can read.
struct TMODShape {
  const TMODLayout* Layout = &Layout15;
  std::int32_t Channels = 4;
  std::int64_t Patterns = 0;
  std::string_view Signature;
  bool Named = false;
  TTarnXMLoadError Error = TTarnXMLoadError::None;
};

TMODShape MeasureMOD(std::span<const std::uint8_t> data, std::span<const std::uint8_t, Layout31.HeaderSize> header) {
  TMODShape shape;
  shape.Signature = std::string_view(reinterpret_cast<const char*>(&header[SignatureOffset]), 4);
  if (shape.Signature.starts_with("PP")) {
    shape.Named = true;
    shape.Error = TTarnXMLoadError::PackedMOD;
    return shape;
  }
  const std::optional<int> named = MODSignatureChannels(shape.Signature);
  shape.Named = named.has_value();
  // A pattern holds at most 255 channels; odd digits can name fewer than one
  // or more than that.
  if (named && (*named < 1 || *named > 255)) {
    shape.Error = TTarnXMLoadError::BadChannelCount;
    return shape;
  }
  shape.Layout = named ? &Layout31 : &Layout15;
  shape.Channels = named ? *named : 4;
  std::int64_t sampleBytes = 0;
  for (int k = 1; k <= shape.Layout->Samples; ++k)
    sampleBytes += 2 * WordBE(&header[SampleHeadersOffset + (k - 1) * SampleHeaderSize + 22]);
  const std::int64_t ordered = OrderedPatterns(header.subspan(shape.Layout->SongLength + 2, MODOrders));
  const std::int64_t patternBytes = static_cast<std::int64_t>(data.size()) - shape.Layout->HeaderSize - sampleBytes;
  const TTarnXMLoadError mismatch = named ? TTarnXMLoadError::MODSizeMismatch : TTarnXMLoadError::NotAModule;
  // Files that say 4 channels but are sized for 8.
  if (shape.Channels == 4 && patternBytes == ordered * 8 * PatternBytesPerChannel) shape.Channels = 8;
  if (patternBytes < 0) {
    shape.Error = mismatch;
    return shape;
  }
  shape.Patterns =
      PatternCount(patternBytes / (shape.Channels * PatternBytesPerChannel), ordered, !named, shape.Signature);
  if (shape.Patterns * shape.Channels * PatternBytesPerChannel != patternBytes) shape.Error = mismatch;
  return shape;
}

// The header, zero-filled where the data is shorter.
std::array<std::uint8_t, Layout31.HeaderSize> ReadHeader(std::span<const std::uint8_t> data) {
  std::array<std::uint8_t, Layout31.HeaderSize> header;
  TByteReader(data.data(), data.size()).ReadBytes(header.data(), Layout31.HeaderSize);
  return header;
}

}  // namespace

bool ProbeMOD(std::span<const std::uint8_t> data, TTarnXMProbe& probe) {
  const auto header = ReadHeader(data);
  const TMODShape shape = MeasureMOD(data, header);
  if (!shape.Named && shape.Error != TTarnXMLoadError::None) return false;
  probe.Title = CutAtZero(std::span(header).first(20));
  probe.Channels = shape.Error == TTarnXMLoadError::None ? shape.Channels : 0;
  return true;
}

TTarnXMLoadError LoadMOD(TTarnXMSong& song, std::span<const std::uint8_t> data) {
  const auto header = ReadHeader(data);
  const TMODShape shape = MeasureMOD(data, header);
  if (shape.Error != TTarnXMLoadError::None) return shape.Error;
  const TMODLayout& layout = *shape.Layout;
  const std::int32_t channels = shape.Channels;

  song.Name = CutAtZero(std::span(header).first(20));
  song.SongLength = header[layout.SongLength];
  song.RestartPosition = header[layout.SongLength + 1];
  const std::span<const std::uint8_t> orders = std::span(header).subspan(layout.SongLength + 2, MODOrders);
  std::copy(orders.begin(), orders.end(), song.Orders.begin());
  // Many files store 127 or the song length here; play from the start.
  if (song.RestartPosition >= song.SongLength) song.RestartPosition = 0;

  for (int k = 1; k <= layout.Samples; ++k) {
    const std::uint8_t* sampleHeader = &header[SampleHeadersOffset + (k - 1) * SampleHeaderSize];
    // Bytes 0..21, the sample name, are not used.
    TTarnXMInstrument& instrument = song.NewInstrument(k);
    instrument.FadeOut = 65536;
    TTarnXMSample& sample = instrument.NewSample(0);
    sample.Length = 2 * WordBE(sampleHeader + 22);
    sample.FineTune = MODFineTune(sampleHeader[24]);
    sample.Volume = sampleHeader[25];
    sample.LoopStart = 2 * WordBE(sampleHeader + 26);
    sample.LoopLength = 2 * WordBE(sampleHeader + 28);
    sample.UsePanning = false;
  }

  // Left, right, right, left in every group of four, the last group too when
  // it is not full.
  constexpr std::array<std::int32_t, 4> GroupPanning{0, 255, 255, 0};
  for (std::int32_t channel = 0; channel < channels; ++channel)
    song.ChannelSettings[channel].DefaultPanning = GroupPanning[channel % 4];

  TByteReader reader(data.data(), data.size());
  reader.ReadPosition = layout.HeaderSize;
  for (std::int64_t p = 0; p < shape.Patterns; ++p) {
    TTarnXMPattern& pattern = song.Patterns[p];
    pattern.SetSize(MODRows, static_cast<std::uint8_t>(channels));
    for (std::int32_t row = 0; row < MODRows; ++row)
      for (std::int32_t channel = 0; channel < channels; ++channel) pattern.SetNote(row, channel, ReadCell(reader));
  }

  for (int k = 1; k <= layout.Samples; ++k) {
    TTarnXMSample& sample = *song.Instruments[k]->Samples[0];
    if (sample.Length <= 1) continue;
    FitLoop(sample);
    if (!ReadSampleData(reader, sample)) return TTarnXMLoadError::OutOfMemory;
    sample.PrepareForInterpolation();
  }

  song.NumChannels = channels;
  song.LinearFrequency = false;
  song.Format = TTarnXMFormat::MOD;
  song.Signature = shape.Named ? std::string(shape.Signature) : std::string();
  song.NumPatterns = static_cast<std::int32_t>(shape.Patterns);
  return TTarnXMLoadError::None;
}
