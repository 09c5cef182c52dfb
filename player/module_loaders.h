#pragma once
// The formats the engine reads, one entry each: a probe that looks at the
// first bytes and a few counts, and the loader that fills a song. The
// loader is chosen by content, never by a file's name.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "player/load_error.h"
#include "player/song.h"

struct TTarnXMLoader {
  const char* Name;
  TTarnXMFormat Format;
  // True when the format takes the data; then fills what the header says.
  bool (*Probe)(std::span<const std::uint8_t> data, TTarnXMProbe& probe);
  TTarnXMLoadError (*Load)(TTarnXMSong& song, std::span<const std::uint8_t> data);
};

std::span<const TTarnXMLoader> ModuleLoaders();
// The first loader whose probe takes the data, or none.
const TTarnXMLoader* FindLoader(std::span<const std::uint8_t> data, TTarnXMProbe& probe);

// A new song from the data, or none with the reason in error.
std::shared_ptr<const TTarnXMSong> LoadSong(const void* data, std::size_t size, TTarnXMLoadError& error);
