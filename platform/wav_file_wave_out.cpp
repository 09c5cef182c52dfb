#include <cstdio>
#include <vector>

#include "platform/wave_out.h"

namespace platform {
namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

class TWavFileWaveOut final : public TWaveOut {
 public:
  explicit TWavFileWaveOut(std::string path) : Path(std::move(path)) {}
  ~TWavFileWaveOut() override { Close(); }

  std::uint32_t Open(const TWaveFormat& format) override {
    if (File) return MMSYSERR_INVALHANDLE;
    if (format.FormatTag != WAVE_FORMAT_PCM || format.Channels == 0 || format.BitsPerSample != 16)
      return WAVERR_BADFORMAT;
    File = std::fopen(Path.c_str(), "wb");
    if (!File) return MMSYSERR_NODRIVER;
    Format = format;
    DataBytes = 0;
    return WriteHeader() ? MMSYSERR_NOERROR : MMSYSERR_NODRIVER;
  }

  std::uint32_t PrepareHeader(TWaveHeader& header) override {
    if (!File) return MMSYSERR_INVALHANDLE;
    header.Flags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
  }

  std::uint32_t Write(TWaveHeader& header) override {
    if (!File) return MMSYSERR_INVALHANDLE;
    if (!(header.Flags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    header.Flags &= ~WHDR_DONE;
    // A RIFF file ends at 4 GiB; what would not fit is played into nothing.
    if (DataBytes <= MaxDataBytes - header.BufferLength &&
        std::fwrite(header.Data, 1, header.BufferLength, File) == header.BufferLength)
      DataBytes += header.BufferLength;
    header.Flags |= WHDR_DONE;
    return MMSYSERR_NOERROR;
  }

  std::uint32_t UnprepareHeader(TWaveHeader& header) override {
    if (!File) return MMSYSERR_INVALHANDLE;
    header.Flags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
  }

  std::uint32_t Pause() override { return File ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }
  std::uint32_t Restart() override { return File ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }
  std::uint32_t Reset() override { return File ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }

  std::uint32_t Close() override {
    if (!File) return MMSYSERR_INVALHANDLE;
    std::fseek(File, 0, SEEK_SET);
    WriteHeader();
    std::fclose(File);
    File = nullptr;
    return MMSYSERR_NOERROR;
  }

  // Every buffer is written the moment it comes.
  std::uint32_t Underruns() const override { return 0; }

 private:
  bool WriteHeader() {
    std::vector<std::uint8_t> header;
    const auto chunk = [&](const char* id) { header.insert(header.end(), id, id + 4); };
    chunk("RIFF");
    PutLe(header, 36 + DataBytes, 4);
    chunk("WAVE");
    chunk("fmt ");
    PutLe(header, 16, 4);
    PutLe(header, Format.FormatTag, 2);
    PutLe(header, Format.Channels, 2);
    PutLe(header, Format.SamplesPerSec, 4);
    PutLe(header, Format.AvgBytesPerSec, 4);
    PutLe(header, Format.BlockAlign, 2);
    PutLe(header, Format.BitsPerSample, 2);
    chunk("data");
    PutLe(header, DataBytes, 4);
    const bool ok = std::fwrite(header.data(), 1, header.size(), File) == header.size();
    std::fseek(File, 0, SEEK_END);
    return ok;
  }

  static constexpr std::uint32_t MaxDataBytes = 0xFFFFFFFFu - 36;
  std::string Path;
  std::FILE* File = nullptr;
  TWaveFormat Format;
  std::uint32_t DataBytes = 0;
};

}  // namespace

std::unique_ptr<TWaveOut> CreateWavFileWaveOut(const std::string& path) {
  return std::make_unique<TWavFileWaveOut>(path);
}

}  // namespace platform
