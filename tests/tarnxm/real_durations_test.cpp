// The length of every XM and MOD module of three Debian game-data packages,
// measured by tarnxm and by libxmp, a player written by other people and used
// here as a black box through its public interface.
#include <gtest/gtest.h>
#include <xmp.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"
#include "tests/player/package_modules.h"
#include "tools/tarnxm/song_length.h"

namespace {

// The song's length in milliseconds as libxmp reports it; -1 when it does
// not load the file.
std::int64_t PeerDurationMs(const std::string& path) {
  const xmp_context context = xmp_create_context();
  std::int64_t duration = -1;
  if (xmp_load_module(context, const_cast<char*>(path.c_str())) == 0) {
    xmp_module_info info;
    xmp_get_module_info(context, &info);
    duration = info.seq_data[0].duration;
    xmp_release_module(context);
  }
  xmp_free_context(context);
  return duration;
}

// Modules where this player differs on purpose, by the time it adds.
struct TKnownDifference {
  std::int64_t ExtraMs;
  const char* Reason;
};
const std::map<std::string, TKnownDifference> KnownDifferences{};

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

TEST(RealDurations, EveryPackageModuleLastsWithinOnePercentOfThePeersLength) {
  const std::vector<std::string> files = PackageModules();
  ASSERT_GE(files.size(), 30u) << "scripts/install-deps test installs the packages";
  std::printf("%-45s %10s %10s %8s\n", "module", "libxmp ms", "tarnxm ms", "diff");
  for (const std::string& path : files) {
    const TTarnXMLoad load = LoadModuleFile(path);
    ASSERT_TRUE(load) << path << ": " << load.Error;
    TTarnXMRenderer renderer(load.Song);
    const std::optional<std::int64_t> ours = SongDurationMs(renderer);
    const std::int64_t peer = PeerDurationMs(path);
    ASSERT_TRUE(ours.has_value()) << path;
    ASSERT_GT(peer, 0) << path;
    std::printf("%-45s %10lld %10lld %+7.2f%%\n", FileName(path).c_str(), static_cast<long long>(peer),
                static_cast<long long>(*ours), 100.0 * static_cast<double>(*ours - peer) / static_cast<double>(peer));
    const auto known = KnownDifferences.find(FileName(path));
    const std::int64_t extra = known == KnownDifferences.end() ? 0 : known->second.ExtraMs;
    EXPECT_LE(std::abs(*ours - extra - peer), peer / 100)
        << path << ": " << *ours << " ms against " << peer << " ms"
        << (known == KnownDifferences.end() ? "" : std::string(", expected more: ") + known->second.Reason);
  }
}

}  // namespace
