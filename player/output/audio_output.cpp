// The player's audio output: the device with its four buffers, and the
// thread that refills them while the song plays.
#include <algorithm>
#include <chrono>
#include <limits>
#include <system_error>

#include "platform/resources.h"
#include "platform/thread_priority.h"
#include "player/output/player.h"

using namespace platform;

namespace {

TTarnXMRenderOptions PlayerOptions(std::int32_t sampleRate, bool stereo) {
  TTarnXMRenderOptions options;
  options.SampleRate = sampleRate;
  options.Stereo = stereo;
  options.EndAction = TTarnXMEndAction::Loop;
  return options;
}

// Four buffers of 2048 frames hold 186 ms at 44100 Hz, so a refill may come
// late by more than one round before the device runs dry.
constexpr auto RefillInterval = std::chrono::milliseconds(50);
// How long destruction waits for the device to hand the buffers back; a
// device that keeps one longer is closed with it.
constexpr auto ReleaseStep = std::chrono::milliseconds(25);
constexpr auto ReleaseWait = std::chrono::seconds(5);

}  // namespace

std::unique_ptr<TTarnXM> TTarnXM::Create(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo) {
  const std::int64_t channels = stereo ? 2 : 1;
  if (sampleRate < 0 || bufferSamples <= 0 || channels * bufferSamples * 2 > std::numeric_limits<std::int32_t>::max())
    return nullptr;
  std::unique_ptr<TTarnXM> player(new TTarnXM(sampleRate, bufferSamples, stereo));
  player->OpenOutput();
  return player;
}

TTarnXM::TTarnXM(std::int32_t sampleRate, std::int32_t bufferSamples, bool stereo)
    : SampleRate(sampleRate == 0 ? 44100 : sampleRate),
      OutputChannels(stereo ? 2 : 1),
      BufferBytes(OutputChannels * bufferSamples * 2),
      BufferSamples(bufferSamples),
      Renderer(nullptr, PlayerOptions(SampleRate, stereo)) {}

void TTarnXM::OpenOutput() {
  Format.FormatTag = WAVE_FORMAT_PCM;
  Format.Channels = static_cast<std::uint16_t>(OutputChannels);
  Format.SamplesPerSec = static_cast<std::uint32_t>(SampleRate);
  Format.AvgBytesPerSec = static_cast<std::uint32_t>(SampleRate) * static_cast<std::uint32_t>(OutputChannels) * 2;
  Format.BlockAlign = static_cast<std::uint16_t>(OutputChannels * 2);
  Format.BitsPerSample = 16;
  Format.Size = 0;
  Device = CreateWaveOut();
  if (!Device) Device = CreateNullWaveOut();
  OpenResult = Device->Open(Format);
  // Every buffer starts done, so that the first refill finds all four free.
  for (int i = 0; i < BufferCount; ++i) {
    Blocks[i].assign(static_cast<std::size_t>(OutputChannels) * static_cast<std::size_t>(BufferSamples), 0);
    TWaveHeader& header = Headers[i];
    header.Data = reinterpret_cast<std::uint8_t*>(Blocks[i].data());
    header.BufferLength = static_cast<std::uint32_t>(BufferBytes);
    header.BytesRecorded = 0;
    header.User = 0;
    header.Flags = WHDR_DONE;
    header.Loops = 0;
  }
  CurrentHeader = 0;
  // Without a device there is nothing to refill: the player stays silent.
  if (OpenResult != MMSYSERR_NOERROR) return;
  try {
    Thread = std::thread(&TTarnXM::ThreadProcedure, this);
  } catch (const std::system_error&) {
    return;
  }
  RaiseToTimeCriticalPriority(Thread);
}

TTarnXM::~TTarnXM() {
  {
    const std::lock_guard<std::mutex> guard(Lock);
    Terminated = true;
  }
  Wake.notify_all();
  if (Thread.joinable()) Thread.join();
  Clear();
  // Only a creation that ran out of memory leaves no device.
  if (!Device) return;
  Device->Reset();
  const auto deadline = std::chrono::steady_clock::now() + ReleaseWait;
  for (TWaveHeader& header : Headers)
    while (Device->UnprepareHeader(header) == WAVERR_STILLPLAYING && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(ReleaseStep);
  Device->Reset();
  Device->Close();
  // The device goes before the blocks it may still hold.
  Device.reset();
}

void TTarnXM::Enter() { Lock.lock(); }

void TTarnXM::Leave() { Lock.unlock(); }

void TTarnXM::Clear() {
  const std::lock_guard<std::mutex> guard(Lock);
  Renderer.SetSong(nullptr);
}

bool TTarnXM::LoadFromMemory(const void* data, std::size_t size) {
  TTarnXMLoad load = LoadModule(data, size);
  const std::lock_guard<std::mutex> guard(Lock);
  Renderer.SetSong(std::move(load.Song));
  LoadError = std::move(load.Error);
  return Renderer.Song() != nullptr;
}

bool TTarnXM::LoadFromResource(std::string_view name, std::string_view type) {
  const platform::TResource* resource = platform::FindResource(name, type);
  if (resource && !resource->Data.empty()) return LoadFromMemory(resource->Data.data(), resource->Data.size());
  const std::lock_guard<std::mutex> guard(Lock);
  Renderer.SetSong(nullptr);
  LoadError = "resource not found or empty";
  return false;
}

void TTarnXM::RenderBuffer(std::int16_t* out) {
  const std::size_t frames = Renderer.Render(out, static_cast<std::size_t>(BufferSamples));
  std::fill(out + frames * static_cast<std::size_t>(OutputChannels),
            out + static_cast<std::size_t>(BufferSamples) * static_cast<std::size_t>(OutputChannels), 0);
}

bool TTarnXM::Play() {
  const std::lock_guard<std::mutex> guard(Lock);
  Renderer.Rewind();
  CurrentHeader = 0;
  if (!Renderer.Song()) return false;
  Paused = false;
  Wake.notify_all();
  return true;
}

void TTarnXM::Stop() {
  const std::lock_guard<std::mutex> guard(Lock);
  Paused = true;
}

void TTarnXM::FillBuffers() {
  for (int round = 0; round < BufferCount; ++round) {
    TWaveHeader& header = Headers[CurrentHeader];
    if (!(header.Flags & WHDR_DONE)) return;
    if (Device->UnprepareHeader(header) == WAVERR_STILLPLAYING) return;
    header.Flags &= ~WHDR_DONE;
    RenderBuffer(Blocks[CurrentHeader].data());
    Device->PrepareHeader(header);
    Device->Write(header);
    CurrentHeader = (CurrentHeader + 1) % BufferCount;
  }
}

// Stop and destruction take the lock, so they find the thread between
// refills: paused, or sleeping until the next one.
void TTarnXM::ThreadProcedure() {
  std::unique_lock<std::mutex> lock(Lock);
  while (!Terminated) {
    if (Paused) {
      Wake.wait(lock, [this] { return Terminated || !Paused; });
      continue;
    }
    FillBuffers();
    Wake.wait_for(lock, RefillInterval, [this] { return Terminated || Paused; });
  }
}
