#include "tools/tarnxm/flac_writer.h"

#include <algorithm>

namespace {

// libFLAC's default, a good balance of size and time.
constexpr unsigned CompressionLevel = 5;

TFlacWriter& WriterOf(void* client) { return *static_cast<TFlacWriter*>(client); }

FLAC__StreamEncoderWriteStatus WriteBytes(const FLAC__StreamEncoder*, const FLAC__byte buffer[], size_t bytes, uint32_t,
                                          uint32_t, void* client) {
  return WriterOf(client).Put(buffer, bytes) ? FLAC__STREAM_ENCODER_WRITE_STATUS_OK
                                             : FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
}

FLAC__StreamEncoderSeekStatus SeekTo(const FLAC__StreamEncoder*, FLAC__uint64 offset, void* client) {
  if (!WriterOf(client).Sink.Seekable()) return FLAC__STREAM_ENCODER_SEEK_STATUS_UNSUPPORTED;
  WriterOf(client).Seek(offset);
  return FLAC__STREAM_ENCODER_SEEK_STATUS_OK;
}

FLAC__StreamEncoderTellStatus TellWhere(const FLAC__StreamEncoder*, FLAC__uint64* offset, void* client) {
  if (!WriterOf(client).Sink.Seekable()) return FLAC__STREAM_ENCODER_TELL_STATUS_UNSUPPORTED;
  *offset = WriterOf(client).Tell();
  return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
}

}  // namespace

TFlacWriter::TFlacWriter(TByteSink& sink, const TAudioLayout& layout)
    : Sink(sink), Encoder(FLAC__stream_encoder_new()), Channels(layout.Channels) {
  if (!Encoder) return;
  FLAC__stream_encoder_set_channels(Encoder, layout.Channels);
  FLAC__stream_encoder_set_bits_per_sample(Encoder, BitsPerSample(layout.Format));
  FLAC__stream_encoder_set_sample_rate(Encoder, layout.Rate);
  FLAC__stream_encoder_set_compression_level(Encoder, CompressionLevel);
  Ready = FLAC__stream_encoder_init_stream(Encoder, WriteBytes, SeekTo, TellWhere, nullptr, this) ==
          FLAC__STREAM_ENCODER_INIT_STATUS_OK;
}

TFlacWriter::~TFlacWriter() {
  if (Encoder) FLAC__stream_encoder_delete(Encoder);
}

bool TFlacWriter::Fail(const char* what) {
  if (Error.empty()) Error = Sink.Error.empty() ? what : Sink.Error;
  return false;
}

bool TFlacWriter::Put(const void* bytes, std::size_t size) {
  const bool written = Position == End ? Sink.Write(bytes, size) : Sink.Rewrite(Position, bytes, size);
  Position += size;
  End = std::max(End, Position);
  return written;
}

bool TFlacWriter::Write(std::span<const std::int32_t> samples) {
  if (!Ready) return Fail("the FLAC encoder did not start");
  if (FLAC__stream_encoder_process_interleaved(Encoder, samples.data(),
                                               static_cast<uint32_t>(samples.size() / Channels)))
    return true;
  return Fail(FLAC__stream_encoder_get_resolved_state_string(Encoder));
}

bool TFlacWriter::Finish() {
  if (!Ready) return Fail("the FLAC encoder did not start");
  Ready = false;
  return FLAC__stream_encoder_finish(Encoder) ? true : Fail("the FLAC encoder did not finish");
}
