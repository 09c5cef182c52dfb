#pragma once
// Where an audio file's bytes go: a file on disk, which can go back to fill
// in a header, or a stream such as the standard output, which cannot.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

class TByteSink {
 public:
  virtual ~TByteSink() = default;
  // False with the reason in Error.
  virtual bool Write(const void* bytes, std::size_t size) = 0;
  virtual bool Seekable() const = 0;
  // Overwrites bytes already written at offset, then goes on at the end.
  virtual bool Rewrite(std::uint64_t offset, const void* bytes, std::size_t size) = 0;

  std::string Error;
};

class TStreamSink : public TByteSink {
 public:
  explicit TStreamSink(std::ostream& stream) : Stream(stream) {}
  bool Write(const void* bytes, std::size_t size) override;
  bool Seekable() const override { return false; }
  bool Rewrite(std::uint64_t, const void*, std::size_t) override;

 private:
  std::ostream& Stream;
};
