// driftlow_peer_compare MODULE...: how our player and libxmp, a black-box
// peer, play the same modules. Per module: each one's length of a pass and
// their difference; the share of channel-ticks whose pitches are more than
// 10 cents apart; the correlation of their levels per 100 ms and the windows
// more than 3 dB apart; and the share of our samples that clip at the tools'
// default level. Then the medians (of the length differences' sizes) and
// how many lengths agree within 0.1 %. A comparison, not a verdict: the peer
// has differences of its own.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/peer_compare/compare.h"
#include "bench/peer_compare/run.h"
#include "tools/console/command_line.h"

namespace {

constexpr double SameDurationPercent = 0.1;

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct TColumns {
  std::vector<double> DurationPercent, PitchApart, Correlation, WindowsApart, Clipped;
  int SameDuration = 0;
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("How our player and libxmp, a black-box peer, play the same modules.", "driftlow_peer_compare");
  std::vector<std::string> paths;
  app.add_option("MODULE", paths, "the XM or MOD modules")->required();
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  std::printf("%-34s %8s %8s %8s | %9s %7s | %6s %6s | %7s\n", "module", "ours", "libxmp", "length", "channel-",
              ">10 ct", "level", ">3 dB", "clipped");
  std::printf("%-34s %8s %8s %8s | %9s %7s | %6s %6s | %7s\n", "", "s", "s", "diff %", "ticks", "%", "corr", "100ms",
              "%");
  TColumns columns;
  bool failed = false;
  for (const std::string& path : paths) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> module{std::istreambuf_iterator<char>(file), {}};
    if (!file) {
      std::fprintf(stderr, "%s: cannot read it\n", path.c_str());
      failed = true;
      continue;
    }
    const TRun ours = RunOurs(module);
    const TRun peer = ours.Error.empty() ? RunPeer(module) : TRun{};
    if (!ours.Error.empty() || !peer.Error.empty()) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(), (ours.Error.empty() ? peer.Error : ours.Error).c_str());
      failed = true;
      continue;
    }
    const TComparison result = Compare(ours, peer);
    std::printf("%-34s %8.2f %8.2f %+8.2f | %9lld %7.2f | %6.3f %6d | %7.4f\n", name.c_str(), ours.Seconds,
                peer.Seconds, result.DurationPercent, static_cast<long long>(result.ChannelTicks),
                100 * result.PitchApartShare, result.LevelCorrelation, result.WindowsApart, 100 * result.ClippedShare);
    columns.DurationPercent.push_back(std::abs(result.DurationPercent));
    columns.PitchApart.push_back(100 * result.PitchApartShare);
    columns.Correlation.push_back(result.LevelCorrelation);
    columns.WindowsApart.push_back(result.WindowsApart);
    columns.Clipped.push_back(100 * result.ClippedShare);
    columns.SameDuration += std::abs(result.DurationPercent) <= SameDurationPercent ? 1 : 0;
  }
  char summary[64];
  std::snprintf(summary, sizeof summary, "median of %zu; %d within %.1f %%", columns.DurationPercent.size(),
                columns.SameDuration, SameDurationPercent);
  std::printf("%-34s %8s %8s %8.2f | %9s %7.2f | %6.3f %6.0f | %7.4f\n", summary, "", "",
              Median(columns.DurationPercent), "", Median(columns.PitchApart), Median(columns.Correlation),
              Median(columns.WindowsApart), Median(columns.Clipped));
  return failed ? 1 : 0;
}
