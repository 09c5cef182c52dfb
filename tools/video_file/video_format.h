#pragma once
// The kinds of file a video can be written to, told apart by the name's
// extension, and how ffmpeg encodes each one.
#include <string>
#include <vector>

enum class TVideoFormat {
  Unknown,
  Mp4,  // H.264 (4:2:0) and AAC: plays everywhere; both are lossy
  Mkv,  // FFV1 and FLAC: every pixel and every sample exactly as rendered
  Gif,  // a looping animation without sound, for previews
};

TVideoFormat VideoFormatOf(const std::string& path);
bool HasSound(TVideoFormat format);

// ffmpeg's arguments, argument 0 included: raw RGB frames on its standard
// input and, where the format has sound, 16-bit samples on descriptor 3.
// The file is written bit-exact: the same frames and sound give the same
// bytes, with no random identifier or encoder version in them.
std::vector<std::string> FfmpegArguments(TVideoFormat format, const std::string& path, int width, int height,
                                         int framesPerSecond, int sampleRate, int soundChannels = 2);

// "800x600", each side 16 to 4096.
bool ParseVideoSize(const std::string& text, int& width, int& height);
