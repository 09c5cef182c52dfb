#include "tools/tarnxm/play_list.h"

#include <utility>

TPlaylist::TPlaylist(std::vector<std::string> paths, TReport report)
    : Paths(std::move(paths)), Failed(Paths.size(), false), Report(std::move(report)) {}

std::optional<TPlaylistEntry> TPlaylist::Find(std::ptrdiff_t index, std::ptrdiff_t step) {
  for (; index >= 0 && index < static_cast<std::ptrdiff_t>(Paths.size()); index += step) {
    const auto at = static_cast<std::size_t>(index);
    if (Failed[at]) continue;
    TTarnXMLoad load = LoadModuleFile(Paths[at]);
    if (load) return TPlaylistEntry{at, std::move(load.Song)};
    Reject(at, load.Error);
  }
  return std::nullopt;
}

void TPlaylist::Reject(std::size_t index, const std::string& reason) {
  Failed[index] = true;
  Report(Paths[index], reason);
}
