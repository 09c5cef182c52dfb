// driftlow_render_compare [--rate HZ] MODULE...: end-to-end rendering speed
// of our player against libxmp, a black-box peer, on the same modules at the
// same rate and for the same number of frames (from the start to the end our
// sequencer reports), both into memory. Prints realtime factors, their
// ratios per module and the medians.
#include <xmp.h>
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"
#include "tools/console/command_line.h"

namespace {

constexpr int BufferFrames = 4096;
constexpr int Runs = 3;

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The least CPU time of a few runs of render.
double BestSeconds(const std::function<bool()>& render) {
  double best = 1e30;
  for (int run = 0; run < Runs; ++run) {
    const double start = ThreadSeconds();
    if (!render()) return -1;
    best = std::min(best, ThreadSeconds() - start);
  }
  return best;
}

TTarnXMRenderOptions OurOptions(int rate, TTarnXMInterpolation interpolation) {
  TTarnXMRenderOptions options;
  options.SampleRate = rate;
  options.Interpolation = interpolation;
  options.Loops = 0;
  options.EndAction = TTarnXMEndAction::Stop;
  return options;
}

// Frames once through, as the sequencer alone finds them; 0 for a module
// that does not load.
std::int64_t FramesToEnd(const std::vector<char>& bytes, int rate) {
  const TTarnXMLoad load = LoadModule(bytes.data(), bytes.size());
  if (!load) return 0;
  TTarnXMRenderer renderer(load.Song, OurOptions(rate, TTarnXMInterpolation::Sinc));
  return std::llround(renderer.Subsongs()[0].Seconds * rate);
}

bool RenderOurs(const std::vector<char>& bytes, int rate, TTarnXMInterpolation interpolation, std::int64_t frames) {
  const TTarnXMLoad load = LoadModule(bytes.data(), bytes.size());
  if (!load) return false;
  TTarnXMRenderer renderer(load.Song, OurOptions(rate, interpolation));
  std::vector<std::int16_t> buffer(2 * BufferFrames);
  for (std::int64_t done = 0; done < frames;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(frames - done, BufferFrames));
    const std::size_t rendered = renderer.Render(buffer.data(), wanted);
    if (rendered == 0) break;
    done += static_cast<std::int64_t>(rendered);
  }
  return true;
}

bool RenderPeer(const std::vector<char>& bytes, int rate, int interpolation, std::int64_t frames) {
  const xmp_context context = xmp_create_context();
  bool ok = xmp_load_module_from_memory(context, bytes.data(), static_cast<long>(bytes.size())) == 0;
  if (ok) {
    ok = xmp_start_player(context, rate, 0) == 0;
    if (ok) {
      xmp_set_player(context, XMP_PLAYER_INTERP, interpolation);
      std::vector<std::int16_t> buffer(2 * BufferFrames);
      for (std::int64_t done = 0; done < frames; done += BufferFrames)
        xmp_play_buffer(context, buffer.data(), static_cast<int>(buffer.size() * 2), 0);
      xmp_end_player(context);
    }
    xmp_release_module(context);
  }
  xmp_free_context(context);
  return ok;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("End-to-end rendering speed of our player against libxmp, a black-box peer, on the same modules.",
               "driftlow_render_compare");
  int rate = 44100;
  std::vector<std::string> files;
  app.add_option("--rate", rate, "the rate both render at (44100)")->type_name("HZ")->check(CLI::Range(1, 1000000));
  app.add_option("MODULE", files, "the XM or MOD modules")->required();
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  std::printf("realtime factors at %d Hz stereo, best of %d runs (CPU time of the rendering thread)\n", rate, Runs);
  std::printf("%-34s %8s | %7s %7s %5s | %7s %7s %5s | %7s %5s\n", "module", "length", "linear", "xmp", "ratio",
              "cubic", "spline", "ratio", "sinc", "ratio");
  std::vector<double> linearRatios, cubicRatios, sincRatios;
  for (const std::string& path : files) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    const std::int64_t frames = FramesToEnd(bytes, rate);
    if (frames == 0) {
      std::fprintf(stderr, "%s: does not load or has no length\n", path.c_str());
      continue;
    }
    const double seconds = static_cast<double>(frames) / rate;
    const auto factor = [&](double cpu) { return cpu > 0 ? seconds / cpu : 0.0; };
    const double linear =
        factor(BestSeconds([&] { return RenderOurs(bytes, rate, TTarnXMInterpolation::Linear, frames); }));
    const double cubic =
        factor(BestSeconds([&] { return RenderOurs(bytes, rate, TTarnXMInterpolation::Cubic, frames); }));
    const double sinc =
        factor(BestSeconds([&] { return RenderOurs(bytes, rate, TTarnXMInterpolation::Sinc, frames); }));
    const double peerLinear = factor(BestSeconds([&] { return RenderPeer(bytes, rate, XMP_INTERP_LINEAR, frames); }));
    const double peerSpline = factor(BestSeconds([&] { return RenderPeer(bytes, rate, XMP_INTERP_SPLINE, frames); }));
    if (peerLinear <= 0 || peerSpline <= 0) {
      std::fprintf(stderr, "%s: the peer does not load it\n", path.c_str());
      continue;
    }
    linearRatios.push_back(linear / peerLinear);
    cubicRatios.push_back(cubic / peerSpline);
    sincRatios.push_back(sinc / peerSpline);
    const std::string name = path.substr(path.find_last_of('/') + 1);
    std::printf("%-34s %7.1fs | %7.0f %7.0f %5.2f | %7.0f %7.0f %5.2f | %7.0f %5.2f\n", name.c_str(), seconds, linear,
                peerLinear, linearRatios.back(), cubic, peerSpline, cubicRatios.back(), sinc, sincRatios.back());
  }
  std::printf("%-34s %8s | %7s %7s %5.2f | %7s %7s %5.2f | %7s %5.2f\n", "median ratio", "", "", "",
              Median(linearRatios), "", "", Median(cubicRatios), "", Median(sincRatios));
  return 0;
}
