#pragma once
// An output file that appears whole or not at all: written under a
// temporary name beside the target and renamed over it when complete, and
// removed when it is not. A target that exists and is no regular file (a
// device, a pipe) is written directly.
#include <cstdio>
#include <string>

#include "tools/tarnxm/byte_sink.h"

class TOutputFile : public TByteSink {
 public:
  TOutputFile() = default;
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;
  // Without Commit the temporary file is removed.
  ~TOutputFile() override;

  // False with the reason in Error ("cannot write: ...").
  bool Open(const std::string& path);
  bool Write(const void* bytes, std::size_t size) override;
  bool Seekable() const override { return true; }
  bool Rewrite(std::uint64_t offset, const void* bytes, std::size_t size) override;
  // Flushes, closes and gives the file its name.
  bool Commit();

 private:
  bool Fail();
  void Discard();

  std::FILE* File = nullptr;
  std::string Target;
  std::string Temporary;  // empty when the target is written directly
};
