#include "player/sample.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

void TTarnXMSample::Clear() {
  Block.reset();
  BlockValues = 0;
  Data = nullptr;
  Length = 0;
  Bits = 8;
  Channels = 1;
  ADPCM = false;
  Name.clear();
  Loop = false;
  PingPong = false;
  LoopStart = 0;
  LoopLength = 0;
  Volume = 64;
  UsePanning = true;
  Panning = 128;
  RelativeNote = 0;
  FineTune = 0;
}

bool TTarnXMSample::AllocateData(std::size_t count) {
  if (count == 0) {
    Block.reset();
    BlockValues = 0;
    Data = nullptr;
    return true;
  }
  if (count > std::numeric_limits<std::size_t>::max() / sizeof(std::int32_t) - 2 * SpareValues) return false;
  const std::size_t values = count + 2 * SpareValues;
  std::unique_ptr<std::int32_t[]> block(new (std::nothrow) std::int32_t[values]());
  if (!block) return false;
  if (Block) std::memcpy(block.get(), Block.get(), std::min(values, BlockValues) * sizeof(std::int32_t));
  Block = std::move(block);
  BlockValues = values;
  Data = Block.get() + SpareValues;
  return true;
}

void TTarnXMSample::PrepareForInterpolation() {
  if (!Data || Length <= 0 || (Channels != 1 && Channels != 2)) return;
  const std::int64_t length = Length;
  // A Length beyond the block would make the guards land outside it.
  if (length * Channels > static_cast<std::int64_t>(BlockValues - 2 * SpareValues)) return;
  const auto copyFrame = [this](std::int64_t to, std::int64_t from) {
    for (std::int32_t c = 0; c < Channels; ++c) Data[to * Channels + c] = Data[from * Channels + c];
  };
  for (std::int64_t k = 1; k <= GuardFrames; ++k) copyFrame(-k, 0);
  for (std::int64_t k = 0; k < GuardFrames; ++k) copyFrame(length + k, length - 1);
  if (!Loop || PingPong) return;
  // The loop as the mixer plays it: cut at the end of the data.
  const std::int64_t loopEnd = std::clamp<std::int64_t>(std::int64_t{LoopStart} + LoopLength, 0, length);
  const std::int64_t loopStart = std::clamp<std::int64_t>(LoopStart, 0, loopEnd);
  if (loopStart == loopEnd) return;
  // Copied frame by frame, so that a loop shorter than the guards repeats
  // in them.
  for (std::int64_t k = 0; k < GuardFrames; ++k) copyFrame(loopEnd + k, loopStart + k);
  // Nothing is played before frame 0, so a loop from there has its last
  // frames in front of it for the taps that reach back across the wrap
  // (AnarchyMenu1.mod's 32-frame waveforms).
  if (loopStart == 0)
    for (std::int64_t k = 1; k <= GuardFrames; ++k) copyFrame(-k, loopEnd - k);
}
