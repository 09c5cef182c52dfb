#pragma once
// WAV and raw samples, little-endian. A WAV in a file gets its sizes
// written into the header when it is finished; a WAV on a stream that cannot
// go back (a pipe) says 0xFFFFFFFF for both sizes, as streaming writers do,
// and readers take the data to the end of the stream.
#include <cstdint>

#include "tools/tarnxm/audio_writer.h"

class TWavWriter : public TAudioWriter {
 public:
  // header: false for raw samples.
  TWavWriter(TByteSink& sink, const TAudioLayout& layout, bool header);
  bool Write(std::span<const std::int32_t> samples) override;
  bool Finish() override;

 private:
  bool Fail();
  bool PutHeader(bool rewrite);

  TByteSink& Sink;
  TAudioLayout Layout;
  bool Header;
  bool Started = false;
  std::uint64_t DataBytes = 0;
};
