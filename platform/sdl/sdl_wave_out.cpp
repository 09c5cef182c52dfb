#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/wave_out.h"

namespace platform {
namespace {

// SDL pulls audio from its own thread; the callback plays the queued buffers
// in order and marks each one done when its last byte has gone to the device.
class TSdlWaveOut final : public TWaveOut {
 public:
  // A device still playing is stopped first, so that its thread no longer
  // reads the buffers or this object.
  ~TSdlWaveOut() override {
    Reset();
    Close();
  }

  std::uint32_t Open(const TWaveFormat& format) override {
    if (Device) return MMSYSERR_INVALHANDLE;
    if (format.FormatTag != WAVE_FORMAT_PCM || format.BitsPerSample != 16 || format.Channels == 0 ||
        format.Channels > 2 || format.SamplesPerSec == 0)
      return WAVERR_BADFORMAT;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return MMSYSERR_NODRIVER;
    AudioUp = true;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.SamplesPerSec);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.Channels);
    wanted.samples = 1024;
    wanted.callback = Callback;
    wanted.userdata = this;
    Device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (!Device) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      AudioUp = false;
      return MMSYSERR_NODRIVER;
    }
    SDL_PauseAudioDevice(Device, 0);
    return MMSYSERR_NOERROR;
  }

  std::uint32_t PrepareHeader(TWaveHeader& header) override {
    if (!Device) return MMSYSERR_INVALHANDLE;
    header.Flags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
  }

  std::uint32_t Write(TWaveHeader& header) override {
    if (!Device) return MMSYSERR_INVALHANDLE;
    if (!(header.Flags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    std::lock_guard<std::mutex> guard(QueueLock);
    header.Flags = (header.Flags & ~WHDR_DONE) | WHDR_INQUEUE;
    Queue.push_back(&header);
    return MMSYSERR_NOERROR;
  }

  std::uint32_t UnprepareHeader(TWaveHeader& header) override {
    if (!Device) return MMSYSERR_INVALHANDLE;
    if (header.Flags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    header.Flags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
  }

  std::uint32_t Pause() override {
    if (!Device) return MMSYSERR_INVALHANDLE;
    SDL_PauseAudioDevice(Device, 1);
    return MMSYSERR_NOERROR;
  }

  std::uint32_t Restart() override {
    if (!Device) return MMSYSERR_INVALHANDLE;
    SDL_PauseAudioDevice(Device, 0);
    return MMSYSERR_NOERROR;
  }

  std::uint32_t Reset() override {
    if (!Device) return MMSYSERR_INVALHANDLE;
    std::lock_guard<std::mutex> guard(QueueLock);
    for (TWaveHeader* header : Queue) header->Flags = (header->Flags & ~WHDR_INQUEUE) | WHDR_DONE;
    Queue.clear();
    Position = 0;
    Flowing = false;
    return MMSYSERR_NOERROR;
  }

  std::uint32_t Close() override {
    if (!Device) return MMSYSERR_INVALHANDLE;
    {
      std::lock_guard<std::mutex> guard(QueueLock);
      if (!Queue.empty()) return WAVERR_STILLPLAYING;
    }
    SDL_CloseAudioDevice(Device);
    Device = 0;
    if (AudioUp) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    AudioUp = false;
    return MMSYSERR_NOERROR;
  }

  std::uint32_t Underruns() const override { return UnderrunCount; }

 private:
  static void Callback(void* self, Uint8* stream, int length) {
    static_cast<TSdlWaveOut*>(self)->Pull(stream, static_cast<std::size_t>(length));
  }

  void Pull(std::uint8_t* stream, std::size_t length) {
    std::lock_guard<std::mutex> guard(QueueLock);
    while (length > 0 && !Queue.empty()) {
      TWaveHeader& header = *Queue.front();
      const std::size_t count = std::min<std::size_t>(length, header.BufferLength - Position);
      std::memcpy(stream, header.Data + Position, count);
      stream += count;
      length -= count;
      Position += count;
      Flowing = true;
      if (Position == header.BufferLength) {
        header.Flags = (header.Flags & ~WHDR_INQUEUE) | WHDR_DONE;
        Queue.pop_front();
        Position = 0;
      }
    }
    if (length > 0 && Flowing) {
      ++UnderrunCount;
      Flowing = false;
    }
    std::memset(stream, 0, length);  // an empty queue plays silence
  }

  SDL_AudioDeviceID Device = 0;
  bool AudioUp = false;
  std::mutex QueueLock;
  std::deque<TWaveHeader*> Queue;
  std::size_t Position = 0;
  // Set while buffers come in time; the callback that finds none left
  // counts one underrun and clears it until the next buffer plays.
  bool Flowing = false;
  std::atomic<std::uint32_t> UnderrunCount{0};
};

}  // namespace

std::unique_ptr<TWaveOut> CreateSdlWaveOut() { return std::make_unique<TSdlWaveOut>(); }

}  // namespace platform
