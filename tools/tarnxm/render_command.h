#pragma once
// tarnxm render FILE... (-o OUT | --out-dir DIR | --stems DIR): each song
// from its start to its end (or for a given time) through the engine's
// renderer, as WAV, raw samples or FLAC, the files on every core at once.
#include <ostream>

#include "tools/tarnxm/render_options.h"

// Returns the exit status: 0; 1 when a file does not load or an output
// cannot be written (the others are still rendered); 130 when interrupted.
// progress draws an overall bar on err, for a terminal. "-o -" writes the
// audio to out.
int RunRender(const TRenderOptions& options, std::ostream& out, std::ostream& err, bool progress);
