#pragma once
// One waveform in the player's common form: signed 32-bit values at 16-bit
// scale (8-bit sources times 256), stereo values interleaved left, right, and
// spare values around the data so that the interpolating mixers can read a
// few frames past either end, and past a forward loop's end, unchecked.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TTarnXMSample {
 public:
  // Values kept in front of frame 0 and behind the last value of the data.
  static constexpr std::size_t SpareValues = 8;
  // Frames copied around the data by PrepareForInterpolation.
  static constexpr int GuardFrames = 4;

  TTarnXMSample() = default;
  TTarnXMSample(const TTarnXMSample&) = delete;
  TTarnXMSample& operator=(const TTarnXMSample&) = delete;

  // Frees the data and restores every field to its empty value.
  void Clear();
  // Sizes the data for count values (frames x Channels): a new block is
  // zero-filled, an existing one keeps its values and zero-fills what it
  // gains; count 0 frees it. False when the block cannot be allocated, which
  // leaves the data as it was.
  bool AllocateData(std::size_t count);
  // Fills the guard frames once the data, Length and the loop are final.
  void PrepareForInterpolation();

  std::int32_t* Data = nullptr;
  std::int32_t Length = 0;  // frames once loading has finished
  std::int32_t Bits = 8;
  std::int32_t Channels = 1;
  bool ADPCM = false;
  std::string Name;
  bool Loop = false;
  bool PingPong = false;
  std::int32_t LoopStart = 0;
  std::int32_t LoopLength = 0;
  std::int32_t Volume = 64;  // as stored in the file, not clamped
  bool UsePanning = true;
  std::int32_t Panning = 128;
  std::int32_t RelativeNote = 0;
  std::int32_t FineTune = 0;

 private:
  std::unique_ptr<std::int32_t[]> Block;
  std::size_t BlockValues = 0;
};
