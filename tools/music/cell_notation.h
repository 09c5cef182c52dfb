#pragma once
// The tracker notation of one cell, four fields:
//   note     C-4, C#4 ... B-7; === key off; ... none
//   instr    two hex digits; .. none
//   volume   two hex digits 00..40 set the volume; -x +x slide down/up,
//            Dx Ux fine slide down/up, Sx vibrato speed, Vx vibrato depth,
//            Px panning, Lx Rx panning slide left/right, Mx tone portamento;
//            .. none
//   effect   a digit or letter and two hex digits (A0F, F06, Z40); \xx is the
//            smooth macro; ... none
#include <string>

#include "tools/music/effect_numbers.h"
#include "tools/xm_writer/xm_song.h"

constexpr int KeyOffNote = 97;

// Each returns false for text that is not that field.
bool ParseNote(const std::string& text, std::uint8_t& note);
bool ParseInstrument(const std::string& text, std::uint8_t& instrument);
bool ParseVolumeColumn(const std::string& text, std::uint8_t& volume);
bool ParseEffect(const std::string& text, std::uint8_t& effect, std::uint8_t& parameter);

// The cell in the notation above, "C-4 05 40 922".
std::string FormatCell(const TXmCell& cell);
