// driftlow-capture: renders chosen moments of the intro to PNG files.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/offscreen_context.h"
#include "platform/platform.h"
#include "tools/capture/frame_capture.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "driftlow-capture: %s\n", message.c_str());
  return 1;
}

bool ParseInt(const std::string& text, long long low, long long high, long long& value) {
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && value >= low && value <= high;
}

const char* Usage = "usage: driftlow-capture --times T1,T2,... --out DIR [--fps N]";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::int32_t> times;
  std::string out;
  long long fps = 60;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Fail(arg == "--help" ? Usage : "missing value after " + arg + "; " + Usage);
    const std::string value = argv[++i];
    if (arg == "--times") {
      std::stringstream list(value);
      std::string item;
      while (std::getline(list, item, ',')) {
        long long time = 0;
        if (!ParseInt(item, 0, 2000000000, time)) return Fail("bad time '" + item + "' (milliseconds, 0 or more)");
        times.push_back(static_cast<std::int32_t>(time));
      }
    } else if (arg == "--out") {
      out = value;
    } else if (arg == "--fps") {
      if (!ParseInt(value, 1, 1000, fps)) return Fail("bad frame rate '" + value + "' (1 to 1000)");
    } else {
      return Fail("unknown option " + arg + "; " + Usage);
    }
  }
  if (times.empty() || out.empty()) return Fail(Usage);
  std::sort(times.begin(), times.end());

  std::error_code error;
  std::filesystem::create_directories(out, error);
  if (error) return Fail("cannot create " + out + ": " + error.message());

  platform::TOffscreenContext context(800, 600);
  if (!context.Ok()) return Fail(context.Error());
  TFrameCapture capture(context, static_cast<int>(fps));
  for (const std::int32_t time : times) {
    const TCapturedFrame frame = capture.CaptureAt(time);
    const std::string path = out + "/frame-" + std::to_string(time) + ".png";
    if (!WritePng(path, context.Width(), context.Height(), frame.Pixels)) return Fail("cannot write " + path);
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
