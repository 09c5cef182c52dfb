#include "tools/xm_writer/rich_xm.h"

namespace {

TXMInstrumentWriter Lead() {
  TXMInstrumentWriter instrument;
  instrument.Name = "lead";
  instrument.SampleMap.fill(1);
  instrument.SampleMap[0] = 0;
  instrument.VolumeEnvelope = {{{0, 64}, {10, 32}, {20, 0}}, std::nullopt, 1, 0, 2, 0x07};
  instrument.PanningEnvelope = {{{0, 0}, {8, 64}}, std::nullopt, 0, 0, 1, 0x05};
  TXMSampleWriter mono;
  mono.Data = Delta8({0, 20, 40, 60, 40, 20, 0, -20, -40, -60, -40, -20});
  mono.Type = 1;
  mono.LoopStart = 2;
  mono.LoopLength = 8;
  TXMSampleWriter stereo;
  stereo.Data = Delta16({100, 200, 300, 400, -100, -200, -300, -400});
  stereo.Type = 0x32;
  stereo.LoopStart = 4;
  stereo.LoopLength = 8;
  instrument.Samples = {mono, stereo};
  return instrument;
}

// 20 frames: a table of 16 steps, then two frames a byte.
TXMInstrumentWriter ADPCM() {
  TXMSampleWriter sample;
  sample.Reserved = 0xAD;
  sample.Length = 20;
  sample.Data.assign(16 + 10, 0x11);
  TXMInstrumentWriter instrument;
  instrument.Samples = {sample};
  return instrument;
}

TBytes ChunkData(std::string_view id) {
  if (id == "MIDI") return TBytes(153 * 32, 'F');
  if (id == "PNAM") return TBytes(64, 'n');
  if (id == "CNAM") return TBytes(60, 'c');
  if (id == "CHFX") return TBytes(12, 1);
  return {'h', 'i', 13, 'x'};
}

}  // namespace

TXMWriter RichXM(std::uint16_t version, std::uint16_t channels, TXMPatternWriter pattern,
                 std::initializer_list<std::string_view> chunks) {
  TXMWriter writer;
  writer.Version = version;
  writer.Channels = channels;
  writer.SongLength = 3;
  writer.Orders = {0, 1, 0};
  writer.Patterns = {std::move(pattern), XMPattern(4, EmptyXMCells(4 * channels))};
  writer.Instruments = {Lead(), TXMInstrumentWriter{}, ADPCM()};
  for (const std::string_view id : chunks) writer.Trailer = Joined({writer.Trailer, XMChunk(id, ChunkData(id))});
  return writer;
}
