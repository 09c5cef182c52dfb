#pragma once
// A 16-bit PCM WAV file written frame block by frame block; every write is
// checked, so a full disk is an error and not a short file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class TWavWriter {
 public:
  // The most sample data a RIFF file can describe.
  static constexpr std::uint64_t MaxDataBytes = 0xFFFFFFFFu - 36;

  TWavWriter() = default;
  TWavWriter(const TWavWriter&) = delete;
  TWavWriter& operator=(const TWavWriter&) = delete;
  ~TWavWriter();

  // False with the reason in Error.
  bool Open(const std::string& path, std::uint32_t rate, std::uint16_t channels);
  bool Write(const std::int16_t* values, std::size_t count);
  // Writes the final sizes into the header and closes the file.
  bool Close();

  std::string Error;

 private:
  bool WriteHeader();
  bool Fail();

  std::FILE* File = nullptr;
  std::uint32_t Rate = 0;
  std::uint16_t Channels = 0;
  std::uint64_t DataBytes = 0;
};
