#pragma once
// tarnxm render FILE -o OUT.wav: the song from its start to its end (or for
// a given time) through the engine's renderer, as a 16-bit PCM WAV file.
#include <ostream>
#include <string>
#include <vector>

// args are the words after "render". Returns the exit status: 0, 1 when the
// file does not load or the WAV cannot be written, 2 for a usage error.
// progress draws a progress bar on err, for a terminal.
int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool progress);
