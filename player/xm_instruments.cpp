#include <algorithm>
#include <array>
#include <span>

#include "player/sample_decoders.h"
#include "player/text_field.h"
#include "player/xm_loader.h"

namespace {

constexpr std::int64_t InstrumentHeadSize = 29;  // up to the sample count
constexpr std::int64_t InstrumentHeaderSize = 243;
constexpr std::int64_t SampleHeaderSize = 40;
constexpr std::int64_t MaxSampleLength = std::int64_t{1} << 30;
constexpr std::uint8_t ADPCMMark = 0xAD;

// Envelope fields at their offsets in the instrument header.
struct TEnvelopeLayout {
  int Points, NumPoints, SustainPoint, LoopStart, LoopEnd, Type;
};
constexpr TEnvelopeLayout VolumeLayout{129, 225, 227, 228, 229, 233};
constexpr TEnvelopeLayout PanningLayout{177, 226, 230, 231, 232, 234};

void ReadEnvelope(const std::uint8_t* header, const TEnvelopeLayout& layout, TTarnXMEnvelope& envelope) {
  for (int k = 0; k < TTarnXMEnvelope::LoadedPoints; ++k) {
    const std::uint8_t* point = header + layout.Points + 4 * k;
    envelope.Points[k].Position = WordLE(point);
    // Only the low byte of the value word is used.
    envelope.Points[k].Value = point[2];
  }
  // Some trackers store positions as bytes that wrapped past 255: move such a
  // point into the 256-tick span after its predecessor.
  for (int k = 1; k < TTarnXMEnvelope::LoadedPoints; ++k) {
    std::int32_t& position = envelope.Points[k].Position;
    const std::int32_t previous = envelope.Points[k - 1].Position;
    if (position < previous) {
      position = (position & 0xFF) + (previous & 0xFF00);
      if (position < previous) position += 256;
    }
  }
  const std::uint8_t type = header[layout.Type];
  envelope.Enabled = (type & 0x01) != 0;
  envelope.SustainEnabled = (type & 0x02) != 0;
  envelope.LoopEnabled = (type & 0x04) != 0;
  envelope.NumPoints = std::min<std::int32_t>(header[layout.NumPoints], TTarnXMEnvelope::LoadedPoints);
  envelope.SustainPoint = header[layout.SustainPoint];
  envelope.LoopStart = header[layout.LoopStart];
  envelope.LoopEnd = header[layout.LoopEnd];
  // A sustain point or loop end outside the points could never be reached:
  // switched off, so that an enabled one always names a point.
  if (envelope.NumPoints == 0) envelope.Enabled = false;
  if (envelope.SustainPoint >= envelope.NumPoints) envelope.SustainEnabled = false;
  if (envelope.LoopStart >= envelope.LoopEnd || envelope.LoopEnd >= envelope.NumPoints) envelope.LoopEnabled = false;
}

TXMSampleHeader ReadSampleHeader(const std::uint8_t* header, TTarnXMSample* sample) {
  const std::uint8_t type = header[14];
  const bool adpcm = header[17] == ADPCMMark && (type & 0x30) == 0;
  if (sample) {
    sample->Name = TrimmedText(std::span(header + 18, 22));
    sample->Volume = header[12];
    sample->FineTune = static_cast<std::int8_t>(header[13]);
    sample->RelativeNote = static_cast<std::int8_t>(header[16]);
    sample->Panning = header[15];
    sample->UsePanning = true;
    sample->Bits = (type & 0x10) ? 16 : 8;
    sample->Channels = (type & 0x20) ? 2 : 1;
    sample->ADPCM = adpcm;
    sample->Loop = (type & 0x03) != 0;
    sample->PingPong = (type & 0x02) != 0;
  }
  return {sample, DwordLE(header), DwordLE(header + 4), DwordLE(header + 8), adpcm};
}

struct TSampleExtent {
  std::int64_t Length, LoopStart, LoopLength;
  bool Loop;
};

// The loop must lie inside the data: no loop when it starts at or past the
// end, cut when it runs past it, none when nothing is left of it.
void FitLoop(TSampleExtent& extent) {
  if (extent.LoopStart >= extent.Length) {
    extent.Loop = false;
    extent.LoopStart = 0;
    extent.LoopLength = 0;
    return;
  }
  extent.LoopLength = std::min(extent.LoopLength, extent.Length - extent.LoopStart);
  if (extent.LoopLength == 0) extent.Loop = false;
}

// Bytes to frames: halving for 16-bit and again for stereo data may cut a
// short loop to nothing, so the loop is fitted again after each step.
void Halve(TSampleExtent& extent) {
  extent.Length /= 2;
  extent.LoopStart /= 2;
  extent.LoopLength /= 2;
  FitLoop(extent);
}

bool ReadSampleData(TByteReader& reader, const TXMSampleHeader& header) {
  TTarnXMSample& sample = *header.Sample;
  TSampleExtent extent{header.Length, header.LoopStart, header.LoopLength, sample.Loop};
  // Never decode more than the bytes present: a short file cannot ask for
  // gigabytes of zeros.
  extent.Length = std::min(extent.Length, MaxSampleLength);
  const std::int64_t present = reader.Remaining();
  extent.Length = std::min(extent.Length, header.ADPCM ? std::max<std::int64_t>(2 * (present - 16), 0) : present);
  FitLoop(extent);
  if (extent.Length > 0) {
    bool allocated;
    if (header.ADPCM) {
      allocated = DecodeADPCM(reader, sample, extent.Length);
    } else if (sample.Bits == 16) {
      allocated = DecodeDelta16(reader, sample, extent.Length);
      Halve(extent);
    } else {
      allocated = DecodeDelta8(reader, sample, extent.Length);
    }
    if (!allocated) return false;
    if (sample.Channels == 2) Halve(extent);
  }
  sample.Length = static_cast<std::int32_t>(extent.Length);
  sample.LoopStart = static_cast<std::int32_t>(extent.LoopStart);
  sample.LoopLength = static_cast<std::int32_t>(extent.LoopLength);
  sample.Loop = extent.Loop;
  sample.PingPong = sample.PingPong && extent.Loop;
  sample.PrepareForInterpolation();
  return true;
}

}  // namespace

TTarnXMLoadError ReadXMInstrument(TTarnXMSong& song, TByteReader& reader, int number, TXMSampleHeaders& headers) {
  const std::int64_t start = reader.ReadPosition;
  std::array<std::uint8_t, InstrumentHeaderSize> header;
  if (reader.ReadBytes(header.data(), InstrumentHeadSize) < InstrumentHeadSize)
    return TTarnXMLoadError::TruncatedInstrumentHeader;
  // The instrument size counts from the instrument's start; the sample
  // headers (or the next instrument) begin there.
  const std::int64_t size = DwordLE(&header[0]);
  const std::int64_t next = start + size;
  // The header ends where the instrument size says: what lies beyond it
  // belongs to the sample headers and reads as zeros here.
  const auto bound = [&](std::int64_t from) {
    if (size < InstrumentHeaderSize) std::fill(header.begin() + std::max(size, from), header.end(), 0);
  };
  bound(0);
  TTarnXMInstrument& instrument = song.NewInstrument(number);
  instrument.Name = TrimmedText(std::span(header).subspan(4, 22));
  // Byte 26, the instrument type, is not used.
  const std::int32_t samples = WordLE(&header[27]);
  if (samples == 0) {
    reader.ReadPosition = next;
    return TTarnXMLoadError::None;
  }
  constexpr std::int64_t rest = InstrumentHeaderSize - InstrumentHeadSize;
  if (reader.ReadBytes(&header[InstrumentHeadSize], rest) < rest) return TTarnXMLoadError::TruncatedInstrumentHeader;
  bound(InstrumentHeadSize);
  reader.ReadPosition = next;

  // Bytes 29..32, the sample header size, are not used: sample headers are
  // always 40 bytes.
  instrument.FadeOut = WordLE(&header[239]);
  std::copy_n(&header[33], TTarnXMInstrument::MappedNotes, instrument.SampleMap.begin());
  ReadEnvelope(header.data(), VolumeLayout, instrument.VolumeEnvelope);
  ReadEnvelope(header.data(), PanningLayout, instrument.PanningEnvelope);
  instrument.VibratoType = header[235];
  instrument.VibratoSweep = header[236];
  instrument.VibratoDepth = header[237];
  instrument.VibratoRate = header[238];

  for (std::int32_t j = 0; j < samples; ++j) {
    std::array<std::uint8_t, SampleHeaderSize> sampleHeader;
    if (reader.ReadBytes(sampleHeader.data(), SampleHeaderSize) < SampleHeaderSize)
      return TTarnXMLoadError::TruncatedSampleHeader;
    // Samples beyond the 256 an instrument holds are dropped, but their data
    // is still stepped over.
    TTarnXMSample* sample = j < TTarnXMInstrument::MaxSamples ? &instrument.NewSample(j) : nullptr;
    headers.push_back(ReadSampleHeader(sampleHeader.data(), sample));
  }
  return TTarnXMLoadError::None;
}

TTarnXMLoadError ReadXMSampleData(TByteReader& reader, const TXMSampleHeaders& headers) {
  for (const TXMSampleHeader& header : headers) {
    // ADPCM data is shorter than its length in values: the table and two
    // values per byte.
    const std::int64_t end =
        reader.ReadPosition + (header.ADPCM ? ADPCMBytes(header.Length) : std::int64_t{header.Length});
    TByteReader data = reader.Block(end - reader.ReadPosition);
    if (header.Sample && !ReadSampleData(data, header)) return TTarnXMLoadError::OutOfMemory;
  }
  return TTarnXMLoadError::None;
}
