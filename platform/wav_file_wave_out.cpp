#include <cstdio>
#include <vector>

#include "platform/wav_format.h"
#include "platform/wave_out.h"

namespace platform {
namespace {

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
    if (DataBytes <= MaxWavDataBytes - header.BufferLength &&
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
    const std::vector<std::uint8_t> header = WavHeader({.Tag = Format.FormatTag,
                                                        .Channels = Format.Channels,
                                                        .Rate = Format.SamplesPerSec,
                                                        .Bits = Format.BitsPerSample},
                                                       DataBytes);
    const bool ok = std::fwrite(header.data(), 1, header.size(), File) == header.size();
    std::fseek(File, 0, SEEK_END);
    return ok;
  }

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
