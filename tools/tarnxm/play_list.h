#pragma once
// The files of tarnxm play, loaded as play comes to them. A file that does
// not load, or does not take the options, is reported once and passed over
// from then on.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"

struct TPlaylistEntry {
  std::size_t Index = 0;
  std::shared_ptr<const TTarnXMSong> Song;
};

class TPlaylist {
 public:
  using TReport = std::function<void(const std::string& path, const std::string& reason)>;
  TPlaylist(std::vector<std::string> paths, TReport report);

  // The first file from index on, going by step (1 or -1), that loads; none
  // where the list ends first.
  std::optional<TPlaylistEntry> Find(std::ptrdiff_t index, std::ptrdiff_t step);
  // A file that loaded but cannot play, and why.
  void Reject(std::size_t index, const std::string& reason);
  const std::string& Path(std::size_t index) const { return Paths[index]; }
  std::size_t Size() const { return Paths.size(); }

 private:
  std::vector<std::string> Paths;
  std::vector<bool> Failed;
  TReport Report;
};
