#pragma once
// The largest input each fuzzer takes, as scripts/run-fuzz passes it to
// libFuzzer (-max_len): room for the largest seed of each kind. A fuzzer
// returns at once from a longer input, such as a file given on the command
// line, so that no run costs more than the fuzzing ever asks of it.
#include <cstddef>

constexpr std::size_t MaxModuleInputBytes = 16384;
constexpr std::size_t MaxPictureInputBytes = 131072;  // BMP and JPEG: the intro's font and logo
constexpr std::size_t MaxTgaInputBytes = 4096;
constexpr std::size_t MaxTextureScriptInputBytes = 16384;
constexpr std::size_t MaxScriptInputBytes = 4096;  // mesh scripts and the scroller's text
