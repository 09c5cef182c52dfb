#pragma once
// Which tracker's rules a song plays by where the two differ. MODs were made
// in ProTracker, but for those signed xCHN or xxCH: these come from
// FastTracker 2, as XMs do, and play as it plays them.
#include <cctype>
#include <string_view>

#include "player/song.h"

inline bool PlaysByProTrackerRules(const TTarnXMSong& song) {
  if (song.Format != TTarnXMFormat::MOD) return false;
  const std::string_view signature = song.Signature;
  if (signature.size() != 4 || !std::isdigit(static_cast<unsigned char>(signature[0]))) return true;
  if (signature.substr(1) == "CHN") return false;
  return !(std::isdigit(static_cast<unsigned char>(signature[1])) && signature.substr(2) == "CH");
}
