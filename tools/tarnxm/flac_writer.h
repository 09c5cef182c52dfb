#pragma once
// FLAC through libFLAC's stream encoder, 16 or 24 bits. On a sink that can
// go back the encoder completes its stream information (length, checksum)
// at the end; on a pipe the stream goes out as it is.
#include <FLAC/stream_encoder.h>

#include <cstdint>

#include "tools/tarnxm/audio_writer.h"

class TFlacWriter : public TAudioWriter {
 public:
  TFlacWriter(TByteSink& sink, const TAudioLayout& layout);
  ~TFlacWriter() override;
  TFlacWriter(const TFlacWriter&) = delete;
  TFlacWriter& operator=(const TFlacWriter&) = delete;

  bool Write(std::span<const std::int32_t> samples) override;
  bool Finish() override;

  // The encoder's callbacks: bytes to the sink at the position it last
  // sought, or at the end.
  bool Put(const void* bytes, std::size_t size);
  void Seek(std::uint64_t offset) { Position = offset; }
  std::uint64_t Tell() const { return Position; }
  TByteSink& Sink;

 private:
  bool Fail(const char* what);

  FLAC__StreamEncoder* Encoder;
  std::uint16_t Channels;
  bool Ready = false;
  std::uint64_t Position = 0;
  std::uint64_t End = 0;
};
