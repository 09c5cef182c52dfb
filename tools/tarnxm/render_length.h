#pragma once
// How many frames a render writes, from the renderer at its start: --seconds
// from there; else to the end of the song, as often as --loops says, and no
// later than --end-time. A song whose scan found no end plays once through
// the scan's limit.
#include <cstdint>
#include <string>

#include "tarnxm/tarnxm.h"
#include "tools/tarnxm/render_options.h"

struct TRenderLength {
  std::int64_t Limit = 0;     // never more than this
  std::int64_t Expected = 0;  // what the song's length says, for progress
  std::string Note;           // why the render is bounded, when it is not the song's end
};

TRenderLength PlanLength(TTarnXMRenderer& renderer, const TRenderOptions& options);
