#include "tools/tarnxm/render_length.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tools/tarnxm/song_length.h"

TRenderLength PlanLength(TTarnXMRenderer& renderer, const TRenderOptions& options) {
  const double rate = renderer.Options().SampleRate;
  TRenderLength length;
  if (options.Seconds) {
    length.Limit = length.Expected = std::llround(*options.Seconds * rate);
    return length;
  }
  const std::int64_t start = renderer.Info().Frame;
  const TTarnXMSubsong& subsong = renderer.Subsongs()[static_cast<std::size_t>(renderer.CurrentSubsong())];
  const std::int32_t loops = options.Sound.Loops;
  if (!subsong.Ends && !options.Sound.EndSeconds) {
    length.Limit = length.Expected = std::max<std::int64_t>(std::llround(subsong.Seconds * rate) - start, 0);
    length.Note = "the song does not end within an hour; rendering the hour";
    return length;
  }
  // Each pass ends where the scan says, the first from the start; later
  // ones come from the restart position and are no longer than the scan's limit.
  const double passes = loops < 0 ? std::numeric_limits<double>::infinity() : loops + 1.0;
  double limit = LongestSeconds * rate * passes;
  double expected = subsong.Ends ? subsong.Seconds * rate * passes - static_cast<double>(start) : limit;
  if (options.Sound.EndSeconds) {
    const double end = *options.Sound.EndSeconds * rate - static_cast<double>(start);
    limit = std::min(limit, end);
    expected = std::min(expected, end);
  }
  length.Limit = std::llround(std::max(limit, 0.0));
  length.Expected = std::llround(std::max(expected, 0.0));
  return length;
}
