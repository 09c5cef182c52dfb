#pragma once
// A pattern cell's fields as the trackers print them, dots where a field is
// empty: "C#4 01 40 A0F".
#include <cstdint>
#include <string>

#include "tarnxm/tarnxm.h"

// "C#4" for notes 1..96 (49 is C-4), "===" for a key off, "..." for none.
std::string NoteText(std::int32_t note);
// Two hex digits, ".." for none.
std::string InstrumentText(std::int32_t instrument);
// A volume as two hex digits ("40"); a command as its letter and value:
// "-4" "+4" slides, "D4" "U4" fine slides, "S4" vibrato speed, "V4" vibrato,
// "P4" panning, "L4" "R4" panning slides, "M4" tone portamento; ".." for none.
std::string VolumeText(std::int32_t volume);
// The command's digit or letter and its parameter in hex, "..." for none.
std::string EffectText(std::int32_t effect, std::int32_t parameter);

std::string CellText(const TTarnXMCell& cell);
