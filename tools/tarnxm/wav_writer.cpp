#include "tools/tarnxm/wav_writer.h"

#include <vector>

namespace {

constexpr std::uint32_t HeaderBytes = 44;
constexpr std::uint16_t PcmTag = 1;
constexpr std::uint16_t FloatTag = 3;
constexpr std::uint32_t StreamingSize = 0xFFFFFFFFu;

void PutLe(std::vector<std::uint8_t>& bytes, std::uint64_t value, int size) {
  for (int k = 0; k < size; ++k) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

}  // namespace

TWavWriter::TWavWriter(TByteSink& sink, const TAudioLayout& layout, bool header)
    : Sink(sink), Layout(layout), Header(header) {}

bool TWavWriter::Fail() {
  Error = Sink.Error;
  return false;
}

bool TWavWriter::PutHeader(bool rewrite) {
  const std::uint32_t sampleBytes = BitsPerSample(Layout.Format) / 8u;
  const bool streaming = !Sink.Seekable();
  std::vector<std::uint8_t> header;
  const auto id = [&](const char* text) { header.insert(header.end(), text, text + 4); };
  id("RIFF");
  PutLe(header, streaming ? StreamingSize : HeaderBytes - 8 + DataBytes, 4);
  id("WAVE");
  id("fmt ");
  PutLe(header, 16, 4);
  PutLe(header, Layout.Format == TSampleFormat::F32 ? FloatTag : PcmTag, 2);
  PutLe(header, Layout.Channels, 2);
  PutLe(header, Layout.Rate, 4);
  PutLe(header, std::uint64_t{Layout.Rate} * Layout.Channels * sampleBytes, 4);
  PutLe(header, Layout.Channels * sampleBytes, 2);
  PutLe(header, BitsPerSample(Layout.Format), 2);
  id("data");
  PutLe(header, streaming ? StreamingSize : DataBytes, 4);
  const bool written =
      rewrite ? Sink.Rewrite(0, header.data(), header.size()) : Sink.Write(header.data(), header.size());
  return written ? true : Fail();
}

bool TWavWriter::Write(std::span<const std::int32_t> samples) {
  if (Header && !Started && !PutHeader(false)) return false;
  Started = true;
  const int sampleBytes = BitsPerSample(Layout.Format) / 8;
  if (Header && Sink.Seekable() && DataBytes + samples.size() * sampleBytes > MaxDataBytes) {
    Error = "too long for a WAV file";
    return false;
  }
  std::vector<std::uint8_t> bytes;
  bytes.reserve(samples.size() * sampleBytes);
  for (const std::int32_t value : samples) PutLe(bytes, static_cast<std::uint32_t>(value), sampleBytes);
  if (!Sink.Write(bytes.data(), bytes.size())) return Fail();
  DataBytes += bytes.size();
  return true;
}

bool TWavWriter::Finish() {
  if (!Header) return true;
  if (!Started) return PutHeader(false);
  return Sink.Seekable() ? PutHeader(true) : true;
}
