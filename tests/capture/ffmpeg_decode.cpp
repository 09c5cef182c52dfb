#include "tests/capture/ffmpeg_decode.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::vector<std::uint8_t> Run(const std::string& command) {
  std::vector<std::uint8_t> out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  std::uint8_t chunk[65536];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0;)
    out.insert(out.end(), chunk, chunk + got);
  return out;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

std::vector<std::uint8_t> DecodeFrames(const std::string& path) {
  return Run("ffmpeg -nostdin -loglevel error -i " + Quoted(path) + " -map 0:v -f rawvideo -pix_fmt rgb24 -");
}

std::vector<std::uint8_t> DecodeSound(const std::string& path) {
  return Run("ffmpeg -nostdin -loglevel error -i " + Quoted(path) + " -map 0:a -f s16le -ar 44100 -ac 2 -");
}

std::string StreamCodecs(const std::string& path) {
  const std::vector<std::uint8_t> out =
      Run("ffprobe -loglevel error -show_entries stream=codec_name -of csv=p=0 " + Quoted(path) + " | paste -sd,");
  std::string text(out.begin(), out.end());
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

double Duration(const std::string& path) {
  const std::vector<std::uint8_t> out =
      Run("ffprobe -loglevel error -show_entries format=duration -of csv=p=0 " + Quoted(path));
  return std::atof(std::string(out.begin(), out.end()).c_str());
}
