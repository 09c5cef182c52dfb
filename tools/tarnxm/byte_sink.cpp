#include "tools/tarnxm/byte_sink.h"

bool TStreamSink::Write(const void* bytes, std::size_t size) {
  Stream.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  if (Stream) return true;
  Error = "cannot write to the standard output";
  return false;
}

bool TStreamSink::Rewrite(std::uint64_t, const void*, std::size_t) {
  Error = "cannot go back in the standard output";
  return false;
}
