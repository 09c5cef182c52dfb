#include "tools/tarnxm/wav_writer.h"

#include <vector>

#include "platform/wav_format.h"

namespace {

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
  const platform::TWavFormat format{
      .Tag = Layout.Format == TSampleFormat::F32 ? platform::WavFloatPcm : platform::WavIntegerPcm,
      .Channels = Layout.Channels,
      .Rate = Layout.Rate,
      .Bits = BitsPerSample(Layout.Format)};
  const std::vector<std::uint8_t> header =
      platform::WavHeader(format, Sink.Seekable() ? static_cast<std::uint32_t>(DataBytes) : platform::UnknownWavLength);
  const bool written =
      rewrite ? Sink.Rewrite(0, header.data(), header.size()) : Sink.Write(header.data(), header.size());
  return written ? true : Fail();
}

bool TWavWriter::Write(std::span<const std::int32_t> samples) {
  if (Header && !Started && !PutHeader(false)) return false;
  Started = true;
  const int sampleBytes = BitsPerSample(Layout.Format) / 8;
  if (Header && Sink.Seekable() && DataBytes + samples.size() * sampleBytes > platform::MaxWavDataBytes) {
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
