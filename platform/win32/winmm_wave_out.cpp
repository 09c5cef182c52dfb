#include <cstddef>

#include "platform/wave_out.h"
#include "platform/win32/windows_api.h"

namespace platform {
namespace {

// The headers go to the system as they are: their layout is WAVEHDR's, and
// the system sets WHDR_DONE in them when it has played one, without a callback.
static_assert(sizeof(TWaveHeader) == sizeof(WAVEHDR));
static_assert(offsetof(TWaveHeader, Data) == offsetof(WAVEHDR, lpData));
static_assert(offsetof(TWaveHeader, BufferLength) == offsetof(WAVEHDR, dwBufferLength));
static_assert(offsetof(TWaveHeader, BytesRecorded) == offsetof(WAVEHDR, dwBytesRecorded));
static_assert(offsetof(TWaveHeader, User) == offsetof(WAVEHDR, dwUser));
static_assert(offsetof(TWaveHeader, Flags) == offsetof(WAVEHDR, dwFlags));
static_assert(offsetof(TWaveHeader, Loops) == offsetof(WAVEHDR, dwLoops));
static_assert(offsetof(TWaveHeader, Next) == offsetof(WAVEHDR, lpNext));
static_assert(offsetof(TWaveHeader, Reserved) == offsetof(WAVEHDR, reserved));
static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(DWORD) && std::atomic<std::uint32_t>::is_always_lock_free);

WAVEHDR* System(TWaveHeader& header) { return reinterpret_cast<WAVEHDR*>(&header); }

class TWinmmWaveOut final : public TWaveOut {
 public:
  ~TWinmmWaveOut() override {
    Reset();
    Close();
  }

  // The wave mapper, no callback and no instance data.
  std::uint32_t Open(const TWaveFormat& format) override {
    WAVEFORMATEX system{};
    system.wFormatTag = format.FormatTag;
    system.nChannels = format.Channels;
    system.nSamplesPerSec = format.SamplesPerSec;
    system.nAvgBytesPerSec = format.AvgBytesPerSec;
    system.nBlockAlign = format.BlockAlign;
    system.wBitsPerSample = format.BitsPerSample;
    system.cbSize = format.Size;
    return waveOutOpen(&Device, WAVE_MAPPER, &system, 0, 0, CALLBACK_NULL);
  }

  std::uint32_t PrepareHeader(TWaveHeader& header) override {
    return waveOutPrepareHeader(Device, System(header), sizeof(WAVEHDR));
  }
  std::uint32_t Write(TWaveHeader& header) override { return waveOutWrite(Device, System(header), sizeof(WAVEHDR)); }
  std::uint32_t UnprepareHeader(TWaveHeader& header) override {
    return waveOutUnprepareHeader(Device, System(header), sizeof(WAVEHDR));
  }
  std::uint32_t Pause() override { return waveOutPause(Device); }
  std::uint32_t Restart() override { return waveOutRestart(Device); }
  std::uint32_t Reset() override { return waveOutReset(Device); }
  std::uint32_t Close() override {
    const std::uint32_t result = waveOutClose(Device);
    if (result == MMSYSERR_NOERROR) Device = nullptr;
    return result;
  }
  // The system keeps no count of the gaps.
  std::uint32_t Underruns() const override { return 0; }

 private:
  HWAVEOUT Device = nullptr;
};

}  // namespace

std::unique_ptr<TWaveOut> CreateWinmmWaveOut() { return std::make_unique<TWinmmWaveOut>(); }

}  // namespace platform
