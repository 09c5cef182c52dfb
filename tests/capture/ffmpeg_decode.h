#pragma once
// A video's frames or sound decoded by ffmpeg, as raw bytes.
#include <cstdint>
#include <string>
#include <vector>

// RGB frames one after another, rows top to bottom.
std::vector<std::uint8_t> DecodeFrames(const std::string& path);
// 16-bit little-endian samples at 44100 Hz, stereo interleaved.
std::vector<std::uint8_t> DecodeSound(const std::string& path);
// "codec,codec" of the file's streams, and its duration in seconds.
std::string StreamCodecs(const std::string& path);
double Duration(const std::string& path);
