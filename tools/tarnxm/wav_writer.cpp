#include "tools/tarnxm/wav_writer.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

void PutLe(std::vector<std::uint8_t>& bytes, std::uint64_t value, int size) {
  for (int k = 0; k < size; ++k) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

}  // namespace

TWavWriter::~TWavWriter() {
  if (File) std::fclose(File);
}

bool TWavWriter::Fail() {
  Error = std::string("cannot write: ") + std::strerror(errno);
  return false;
}

bool TWavWriter::Open(const std::string& path, std::uint32_t rate, std::uint16_t channels) {
  File = std::fopen(path.c_str(), "wb");
  if (!File) return Fail();
  Rate = rate;
  Channels = channels;
  DataBytes = 0;
  return WriteHeader();
}

bool TWavWriter::WriteHeader() {
  std::vector<std::uint8_t> header;
  const auto id = [&](const char* text) { header.insert(header.end(), text, text + 4); };
  id("RIFF");
  PutLe(header, 36 + DataBytes, 4);
  id("WAVE");
  id("fmt ");
  PutLe(header, 16, 4);
  PutLe(header, 1, 2);  // PCM
  PutLe(header, Channels, 2);
  PutLe(header, Rate, 4);
  PutLe(header, std::uint64_t{Rate} * Channels * 2, 4);
  PutLe(header, Channels * 2u, 2);
  PutLe(header, 16, 2);
  id("data");
  PutLe(header, DataBytes, 4);
  if (std::fwrite(header.data(), 1, header.size(), File) != header.size()) return Fail();
  return true;
}

bool TWavWriter::Write(const std::int16_t* values, std::size_t count) {
  if (DataBytes + count * 2 > MaxDataBytes) {
    Error = "too long for a WAV file";
    return false;
  }
  std::vector<std::uint8_t> bytes(count * 2);
  for (std::size_t k = 0; k < count; ++k) {
    const auto value = static_cast<std::uint16_t>(values[k]);
    bytes[2 * k] = static_cast<std::uint8_t>(value);
    bytes[2 * k + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), File) != bytes.size()) return Fail();
  DataBytes += bytes.size();
  return true;
}

bool TWavWriter::Close() {
  bool ok = std::fseek(File, 0, SEEK_SET) == 0 ? WriteHeader() : Fail();
  if (std::fclose(File) != 0 && ok) ok = Fail();
  File = nullptr;
  return ok;
}
