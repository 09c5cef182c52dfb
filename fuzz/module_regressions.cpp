// Modules whose headers and cells once led the loaders or the sequencer
// astray, or that promise far more than they hold.
#include "fuzz/regressions.h"
#include "tools/xm_writer/xm_file_writer.h"

namespace {

// Instrument 1: one looped 8-bit sample, on every note.
TXMInstrumentWriter LoopedInstrument() {
  TXMInstrumentWriter instrument;
  TXMSampleWriter sample;
  sample.Data = Delta8({0, 40, 80, 40, 0, -40, -80, -40});
  sample.Type = 1;
  sample.LoopLength = 8;
  instrument.Samples = {sample};
  return instrument;
}

// A pattern of 4 rows whose packed data ends after its first row, between
// two patterns of their own: the rest of it is empty, and the next header is
// not read as its cells.
TBytes ShortPatternData(std::uint16_t version) {
  TXMWriter writer;
  writer.Version = version;
  writer.Channels = 2;
  writer.SongLength = 3;
  writer.Orders = {0, 1, 2};
  writer.Patterns.push_back(XMPattern(2, EmptyXMCells(4)));
  writer.Patterns.push_back(XMPattern(4, Joined({XMCell(49, 1), {0x80}})));
  writer.Patterns.push_back(XMPattern(1, Joined({XMCell(61, 1, 0x30, 0x0C, 0x20), {0x80}})));
  writer.Instruments = {LoopedInstrument()};
  return writer.Build();
}

// The instrument's size ends its header at the end of the sample map: what
// lies past it is no envelope, and its sample's header and data follow at
// that size.
TBytes ShortInstrumentHeader() {
  TXMInstrumentWriter instrument = LoopedInstrument();
  instrument.Size = 129;
  instrument.Samples[0].Data.assign(300, 0x07);
  TXMWriter writer;
  writer.Patterns.push_back(XMPattern(1, XMCell(49, 1)));
  writer.Instruments = {instrument};
  return writer.Build();
}

// Patterns of 256 rows of 255 channels, each with one byte of cells. Eight,
// not the 256 the table holds: the loader reads every cell a pattern
// promises, data or none, and 256 such patterns take it seconds.
TBytes HugePatterns() {
  TXMWriter writer;
  writer.Channels = 255;
  for (int p = 0; p < 8; ++p) writer.Patterns.push_back(XMPattern(256, {0x80}));
  return writer.Build();
}

// A pattern of 65535 rows: it keeps its row count but holds no cells.
TBytes LongestPattern() {
  TXMWriter writer;
  writer.Patterns.push_back(XMPattern(65535, XMCell(49, 1, 0, 0x0F, 1)));
  writer.Instruments = {LoopedInstrument()};
  return writer.Build();
}

// An instrument of 256 sample headers, each claiming 4 GiB of data that is
// not there.
TBytes HugeSamples() {
  TXMSampleWriter sample;
  sample.Length = 0xFFFFFFFF;
  sample.Type = 0x11;
  TXMInstrumentWriter instrument;
  instrument.Samples.assign(256, sample);
  TXMWriter writer;
  writer.Patterns.push_back(XMPattern(1, XMCell(49, 1)));
  writer.Instruments = {instrument};
  return writer.Build();
}

// Row 2's loop sends playback back to row 0, where row 1's loop plays twice
// and hands on to row 2 again: for ever, unless the sequencer sees a loop
// taken twice from the same state.
TBytes LoopsThatReArmEachOther() {
  TXMWriter writer;
  writer.Channels = 2;
  writer.Patterns.push_back(XMPattern(3, Joined({XMCell(49, 1, 0, 0x0E, 0x60),
                                                 {0x80},
                                                 XMCell(0, 0, 0, 0x0E, 0x61),
                                                 {0x80},
                                                 XMCell(0, 0, 0, 0x0E, 0x61),
                                                 {0x80}})));
  writer.Instruments = {LoopedInstrument()};
  return writer.Build();
}

// Extension chunks of every kind, each one byte long.
TBytes OneByteChunks() {
  TXMWriter writer;
  writer.Patterns.push_back(XMPattern(1, XMCell(49, 1)));
  writer.Instruments = {LoopedInstrument()};
  for (const char* id : {"text", "MIDI", "PNAM", "CNAM", "CHFX", "FX00", "EQFX", "MODU"})
    writer.Trailer = Joined({writer.Trailer, XMChunk(id, {1})});
  return writer.Build();
}

}  // namespace

std::vector<TRegression> ModuleRegressions() {
  return {{"short-pattern-data-0104.xm", ShortPatternData(0x0104)},
          {"short-pattern-data-0102.xm", ShortPatternData(0x0102)},
          {"short-instrument-header.xm", ShortInstrumentHeader()},
          {"huge-patterns.xm", HugePatterns(), true},
          {"longest-pattern.xm", LongestPattern()},
          {"huge-samples.xm", HugeSamples()},
          {"loops-that-re-arm-each-other.xm", LoopsThatReArmEachOther()},
          {"one-byte-chunks.xm", OneByteChunks()}};
}
