#pragma once
// The player object: the renderer on an audio device. It opens the device
// with four 16-bit buffers and keeps them queued from an output thread, each
// refill rendering one buffer of the song, which plays for ever.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/wave_out.h"
#include "tarnxm/tarnxm.h"

class TTarnXM {
 public:
  static constexpr int BufferCount = 4;

  // A player for sampleRate Hz (0 means 44100), buffers of bufferSamples
  // frames, stereo or mono. Null for a negative rate or a buffer size that is
  // not positive or whose bytes do not fit 32 bits. It opens the audio device
  // (platform::CreateWaveOut) and, where that succeeds, starts the output
  // thread paused.
  static std::unique_ptr<TTarnXM> Create(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo);
  TTarnXM(const TTarnXM&) = delete;
  TTarnXM& operator=(const TTarnXM&) = delete;
  // Ends the output thread (within one refill), hands the buffers back from
  // the device (waiting a few seconds at most), closes it and frees the song.
  ~TTarnXM();

  // The lock that every refill holds: between Enter and Leave the song and
  // the buffers stand still. Play, Stop, Clear and the loads take it
  // themselves.
  void Enter();
  void Leave();
  // Empties the song.
  void Clear();
  // A song loaded off the lock, then swapped in under it. False, with the
  // song emptied and LoadError saying why, when it does not load.
  bool LoadFromMemory(const void* data, std::size_t size);
  // The same for a resource of this program, looked up by name and type.
  bool LoadFromResource(std::string_view name, std::string_view type);
  // Restarts the song from its first order and, when a song is loaded, lets
  // the output thread run. Returns whether a song is loaded.
  bool Play();
  // Pauses the output thread between refills; the device plays out what is
  // queued. Play goes on from the song's start.
  void Stop();
  // Refills every buffer the device has finished with, in turn, and queues
  // it. Called with the lock held.
  void FillBuffers();
  // One buffer of BufferSamples frames, OutputChannels values each.
  void RenderBuffer(std::int16_t* out);

  std::int32_t SampleRate;
  std::int32_t OutputChannels;
  std::int32_t BufferBytes;
  std::int32_t BufferSamples;
  // The song and how it sounds; settings are made before Play, or under the
  // lock.
  TTarnXMRenderer Renderer;
  std::string LoadError;

  // The audio output: the format opened, the device's answer, the device,
  // the four buffers and their data blocks, the next one to refill.
  platform::TWaveFormat Format;
  std::uint32_t OpenResult = platform::MMSYSERR_NODRIVER;
  std::unique_ptr<platform::TWaveOut> Device;
  std::array<platform::TWaveHeader, BufferCount> Headers;
  std::array<std::vector<std::int16_t>, BufferCount> Blocks;
  std::int32_t CurrentHeader = 0;

 private:
  TTarnXM(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo);
  // Opens the device, readies the buffers and starts the thread, paused.
  void OpenOutput();
  // Refills every 50 ms while running, until Terminated.
  void ThreadProcedure();

  std::mutex Lock;
  std::condition_variable Wake;
  bool Paused = true;
  std::atomic<bool> Terminated{false};
  std::thread Thread;
};
