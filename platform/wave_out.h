#pragma once
// Waveform audio output in the system's terms: open with a PCM format, then
// buffers (headers) that are prepared, written, played and handed back with
// their done flag set, unprepared, and finally reset and close.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

constexpr std::uint32_t MMSYSERR_NOERROR = 0;
constexpr std::uint32_t MMSYSERR_INVALHANDLE = 5;
constexpr std::uint32_t MMSYSERR_NODRIVER = 6;
constexpr std::uint32_t MMSYSERR_INVALPARAM = 11;
constexpr std::uint32_t WAVERR_BADFORMAT = 32;
constexpr std::uint32_t WAVERR_STILLPLAYING = 33;
constexpr std::uint32_t WAVERR_UNPREPARED = 34;

constexpr std::uint32_t WHDR_DONE = 0x01;
constexpr std::uint32_t WHDR_PREPARED = 0x02;
constexpr std::uint32_t WHDR_INQUEUE = 0x10;

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

struct TWaveFormat {
  std::uint16_t FormatTag = WAVE_FORMAT_PCM;
  std::uint16_t Channels = 0;
  std::uint32_t SamplesPerSec = 0;
  std::uint32_t AvgBytesPerSec = 0;
  std::uint16_t BlockAlign = 0;
  std::uint16_t BitsPerSample = 0;
  std::uint16_t Size = 0;
};

// A buffer handed to the device. Flags is written by the device's own thread
// (WHDR_DONE when it has played the buffer), hence atomic. The layout is that
// of the system's WAVEHDR, so that the Windows device hands it to the system
// as it is and the system sets the done flag in place.
struct TWaveHeader {
  std::uint8_t* Data = nullptr;
  std::uint32_t BufferLength = 0;
  std::uint32_t BytesRecorded = 0;
  std::uintptr_t User = 0;
  std::atomic<std::uint32_t> Flags{0};
  std::uint32_t Loops = 0;
  TWaveHeader* Next = nullptr;  // the system's own
  std::uintptr_t Reserved = 0;  // the system's own
};

class TWaveOut {
 public:
  virtual ~TWaveOut() = default;
  virtual std::uint32_t Open(const TWaveFormat& format) = 0;
  virtual std::uint32_t PrepareHeader(TWaveHeader& header) = 0;
  virtual std::uint32_t Write(TWaveHeader& header) = 0;
  // WAVERR_STILLPLAYING while the device still holds the buffer.
  virtual std::uint32_t UnprepareHeader(TWaveHeader& header) = 0;
  // Holds playback where it is, and goes on from there.
  virtual std::uint32_t Pause() = 0;
  virtual std::uint32_t Restart() = 0;
  // Stops playback and hands every queued buffer back as done.
  virtual std::uint32_t Reset() = 0;
  virtual std::uint32_t Close() = 0;
  // The times the device ran out of queued buffers after playing some: each
  // gap in the sound counts once, and so does the end of the stream.
  virtual std::uint32_t Underruns() const = 0;
};

// A device that is never there: Open fails, and so does every later call.
std::unique_ptr<TWaveOut> CreateNullWaveOut();
// The sound card through SDL2; Open fails where there is none.
std::unique_ptr<TWaveOut> CreateSdlWaveOut();
// The system's waveform audio (winmm), on Windows only.
std::unique_ptr<TWaveOut> CreateWinmmWaveOut();
// Writes what is played into a WAV file; every buffer is done as soon as it is written.
std::unique_ptr<TWaveOut> CreateWavFileWaveOut(const std::string& path);

// The device the player opens: the null device unless the program chose another.
using TWaveOutFactory = std::function<std::unique_ptr<TWaveOut>()>;
void SetWaveOutFactory(TWaveOutFactory factory);
std::unique_ptr<TWaveOut> CreateWaveOut();

}  // namespace platform
