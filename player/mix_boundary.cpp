#include <algorithm>

#include "player/channel.h"
#include "player/mixer.h"
#include "player/sample.h"

std::int64_t SamplesToBoundary(TTarnXMChannel& channel, std::int64_t wanted) {
  const TTarnXMSample& sample = *channel.Sample;
  const std::int64_t length = sample.Data ? std::max(sample.Length, 0) : 0;
  const std::int64_t end = length * OneFrame;
  // A loop that runs past the data ends with the data, so no piece can read
  // beyond the block.
  std::int64_t loopEnd = end;
  std::int64_t loopStart = 0;
  if (sample.Loop) {
    loopEnd = std::clamp<std::int64_t>(std::int64_t{sample.LoopStart} + sample.LoopLength, 0, length) * OneFrame;
    loopStart = std::clamp<std::int64_t>(sample.LoopStart, 0, loopEnd / OneFrame) * OneFrame;
  }
  const std::int64_t last = (length - 1) * OneFrame;
  std::int64_t p = channel.Position;

  // Mirror images such as 2 x loop end - p are formed as loop end - (p - loop
  // end), which cannot overflow where the plain form would at the largest
  // lengths.
  if (p < loopStart && channel.Backwards) {
    if (sample.PingPong) {
      const auto past = static_cast<std::uint64_t>(loopStart) - static_cast<std::uint64_t>(p);
      const std::int64_t toMiddle = (loopEnd - loopStart) / 2;
      channel.Backwards = false;
      // A turn that would land at or beyond the loop's middle restarts it.
      p = past < static_cast<std::uint64_t>(toMiddle) ? loopStart + static_cast<std::int64_t>(past) : loopStart;
    } else if (sample.Loop) {
      p += loopEnd - loopStart;
    } else {
      return 0;
    }
  } else if (p < loopStart) {
    if (p < 0) p %= OneFrame;
  } else if (p >= loopEnd) {
    if (sample.PingPong) {
      p = loopEnd - (p - loopEnd);
      channel.Backwards = true;
      if (p < loopStart || p >= loopEnd) p = last + p % OneFrame;
    } else if (sample.Loop) {
      p = std::max(p - (loopEnd - loopStart), loopStart);
      channel.Backwards = false;
    } else {
      return 0;
    }
  }
  channel.Position = p;
  if (p < 0 || p >= end || (p < loopStart && channel.Backwards)) return 0;

  const std::uint64_t step = channel.Increment;
  const std::int64_t cap = std::max<std::int64_t>(16384 / static_cast<std::int64_t>(step / OneFrame + 1), 2);
  const std::int64_t pieceCap = std::min(wanted, cap);
  // The distance covered by a piece of pieceCap frames; the cap keeps it far
  // below 64 bits.
  const std::uint64_t span = step * static_cast<std::uint64_t>(pieceCap - 1);
  std::int64_t k = wanted;
  if (channel.Backwards) {
    if (span > static_cast<std::uint64_t>(p - loopStart))
      k = p - loopStart < 1 ? 1 : static_cast<std::int64_t>(static_cast<std::uint64_t>(p - loopStart - 1) / step) + 1;
  } else {
    if (loopEnd - p <= 0 || span >= static_cast<std::uint64_t>(loopEnd - p))
      k = loopEnd - p < 1 ? 1 : static_cast<std::int64_t>(static_cast<std::uint64_t>(loopEnd - p - 1) / step) + 1;
  }
  return k <= 1 ? 1 : std::min(k, pieceCap);
}
