#pragma once
// The engine without a device: a module, the render settings and the mixing
// buffer. It renders the song into 64-bit accumulators, one sequencer tick
// after another, with click removal, and stops at a tick that finds the
// song come round, so that whoever drives it can count the loop.
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "player/interpolation_tables.h"
#include "player/module.h"
#include "player/render_settings.h"

class TTarnXMEngine {
 public:
  explicit TTarnXMEngine(const TTarnXMRenderSettings& settings = {});

  // Back to the song's start with a tick due at the next frame rendered.
  void Rewind();
  // The tick length from the tempo (125 where it is 0).
  void UpdateTempo();
  // One sequencer tick, then the tick length from the tempo it leaves.
  void DoTick();
  // Renders up to frames frames into out (OutputChannels accumulators each,
  // cleared first) and returns how many it rendered: fewer when a tick found
  // the song come round (State.SongEnded), which then is due to be mixed
  // next. A sample value times a gain of 2048 is unit level.
  std::int32_t Render(std::int64_t* out, std::int32_t frames);
  // Mixes every channel for up to count frames from frame offset of the
  // current render, cut at its end, and returns how many frames that was.
  std::int32_t MixChunk(std::int32_t offset, std::int32_t count);
  // Adds the decaying click-removal offsets to count frames from offset.
  void Declick(std::int32_t offset, std::int32_t count);
  // A channel stopped abruptly at frame of the current render: its last
  // output joins the click-removal offsets from that frame on, whatever the
  // length of the render, so that output never depends on buffer sizes.
  void AddDeclick(std::int32_t frame, std::int64_t left, std::int64_t right);

  TTarnXMRenderSettings Settings;
  TTarnXMModule Module;
  // Channels mixed without being heard: they move on as if they were.
  std::bitset<TTarnXMSong::MaxChannels> Muted;
  // Where the current render writes, and its length in frames.
  std::int64_t* MixPointer = nullptr;
  std::int32_t MixFrames = 0;
  const TTarnXMCubicSpline& CubicSpline;
  const TTarnXMWindowedFIR& WindowedFIR;

 private:
  struct TDeclickStart {
    std::int32_t Frame;
    std::int64_t Left;
    std::int64_t Right;
  };
  // At most one per channel and chunk: a channel stops once.
  std::array<TDeclickStart, TTarnXMSong::MaxChannels> DeclickStarts{};
  std::size_t DeclickStartCount = 0;
};

// Accumulators to 16-bit output: each divided by 2048, truncating toward
// zero, then clamped to the 16-bit range, or without clipping cut to its low
// 16 bits.
void ConvertToPcm16(const std::int64_t* in, std::int16_t* out, std::size_t count, bool clipping);
