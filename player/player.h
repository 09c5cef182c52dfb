#pragma once
// The player object: owns the song, the interpolation tables and the mixing
// buffer, and renders the song into 16-bit buffers, one sequencer tick after
// another, with click removal; an output thread keeps four such buffers
// queued on the audio device.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/wave_out.h"
#include "player/interpolation_tables.h"
#include "player/module.h"

class TTarnXM {
 public:
  // Interpolation settings, as the mixer numbers them.
  static constexpr std::uint8_t NoInterpolation = 0;
  static constexpr std::uint8_t LinearInterpolation = 1;
  static constexpr std::uint8_t CubicInterpolation = 2;
  static constexpr std::uint8_t SincInterpolation = 3;

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
  // the buffers stand still. Play, Stop, Clear and the module's loads take
  // it themselves.
  void Enter();
  void Leave();
  // Empties the song.
  void Clear();
  // Restarts the song from its first order and, when a song is loaded, lets
  // the output thread run. Returns whether a song is loaded.
  bool Play();
  // Pauses the output thread between refills; the device plays out what is
  // queued. Play goes on from the song's start.
  void Stop();
  // Refills every buffer the device has finished with, in turn, and queues
  // it. Called with the lock held.
  void FillBuffers();
  // Back to the song's start with a tick due at the next frame rendered.
  void Rewind();
  // The tick length from the module's tempo (125 where it is 0).
  void UpdateTempo();
  // One sequencer tick, then the tick length from the tempo it leaves.
  void DoTick();
  // One buffer of BufferSamples frames, OutputChannels values each.
  void RenderBuffer(std::int16_t* out);
  // Mixes every channel for up to count frames from buffer frame offset, cut
  // at the buffer's end, and returns how many frames that was.
  std::int32_t MixChunk(std::int32_t offset, std::int32_t count);
  // Adds the decaying click-removal offsets to count frames from offset.
  void Declick(std::int32_t offset, std::int32_t count);

  std::int32_t SampleRate;
  std::int32_t OutputChannels;
  std::int32_t BufferBytes;
  std::int32_t SamplesPerTick = 0;
  std::int32_t TickSamplesLeft = 0;
  // Accumulators, OutputChannels per frame; a sample value times a gain of
  // 2048 is unit level. 64 bits, so that loud channels in phase add up
  // instead of wrapping.
  std::vector<std::int64_t> MixBuffer;
  std::int64_t* MixPointer;
  TTarnXMCubicSpline CubicSpline;
  TTarnXMWindowedFIR WindowedFIR;
  std::int32_t DeclickDivisor;
  std::int32_t BufferSamples;
  TTarnXMModule Module;
  std::uint8_t Interpolation = SincInterpolation;
  bool Clipping = true;

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

  friend std::unique_lock<std::mutex> LockPlayer(TTarnXM* player);

  std::mutex Lock;
  std::condition_variable Wake;
  bool Paused = true;
  std::atomic<bool> Terminated{false};
  std::thread Thread;
};

// Holds a player's lock for as long as it lives; nothing when there is no
// player.
std::unique_lock<std::mutex> LockPlayer(TTarnXM* player);

// Accumulators to 16-bit output: each divided by 2048, truncating toward
// zero, then clamped to the 16-bit range, or without clipping cut to its low
// 16 bits.
void ConvertToPcm16(const std::int64_t* in, std::int16_t* out, std::size_t count, bool clipping);
