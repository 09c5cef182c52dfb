#include "tools/video_file/video_format.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "tools/console/checked_option.h"

TVideoFormat VideoFormatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".mp4") return TVideoFormat::Mp4;
  if (extension == ".mkv") return TVideoFormat::Mkv;
  if (extension == ".gif") return TVideoFormat::Gif;
  return TVideoFormat::Unknown;
}

bool HasSound(TVideoFormat format) { return format == TVideoFormat::Mp4 || format == TVideoFormat::Mkv; }

std::vector<std::string> FfmpegArguments(TVideoFormat format, const std::string& path, int width, int height,
                                         int framesPerSecond, int sampleRate, int soundChannels) {
  std::vector<std::string> arguments{"ffmpeg",
                                     "-nostdin",
                                     "-hide_banner",
                                     "-loglevel",
                                     "error",
                                     "-y",
                                     "-f",
                                     "rawvideo",
                                     "-pix_fmt",
                                     "rgb24",
                                     "-video_size",
                                     std::to_string(width) + "x" + std::to_string(height),
                                     "-framerate",
                                     std::to_string(framesPerSecond),
                                     "-thread_queue_size",
                                     "64",
                                     "-i",
                                     "pipe:0"};
  if (HasSound(format))
    arguments.insert(arguments.end(), {"-f", "s16le", "-ar", std::to_string(sampleRate), "-ac",
                                       std::to_string(soundChannels), "-thread_queue_size", "64", "-i", "pipe:3"});
  switch (format) {
    case TVideoFormat::Mp4:
      // Converted and tagged as BT.709, so that players do not guess the
      // colour matrix from the picture's size.
      arguments.insert(arguments.end(), {"-c:v",
                                         "libx264",
                                         "-preset",
                                         "medium",
                                         "-crf",
                                         "18",
                                         "-vf",
                                         "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
                                         "-colorspace",
                                         "bt709",
                                         "-color_primaries",
                                         "bt709",
                                         "-color_trc",
                                         "bt709",
                                         "-c:a",
                                         "aac",
                                         "-b:a",
                                         "256k",
                                         "-movflags",
                                         "+faststart"});
      break;
    case TVideoFormat::Mkv: arguments.insert(arguments.end(), {"-c:v", "ffv1", "-c:a", "flac"}); break;
    case TVideoFormat::Gif:
      // One small palette for the whole clip and no dithering: every frame
      // of the scene changes almost everywhere, and noise would not compress.
      arguments.insert(arguments.end(), {"-vf",
                                         "split[a][b];[a]palettegen=max_colors=64:stats_mode=full[p];"
                                         "[b][p]paletteuse=dither=none:diff_mode=rectangle",
                                         "-loop", "0"});
      break;
    case TVideoFormat::Unknown: break;
  }
  arguments.insert(arguments.end(), {"-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact"});
  arguments.push_back(path);
  return arguments;
}

bool ParseVideoSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find('x');
  return x != std::string::npos && ParseNumber(std::string_view(text).substr(0, x), width) &&
         ParseNumber(std::string_view(text).substr(x + 1), height) && width >= 16 && width <= 4096 && height >= 16 &&
         height <= 4096;
}
