#include "player/module_loaders.h"

#include <array>
#include <new>

#include "player/mod_loader.h"
#include "player/xm_loader.h"

namespace {

// XM first: its identifier is certain, while the 15-sample MOD form has no
// signature at all.
constexpr std::array<TTarnXMLoader, 2> Loaders{{
    {"XM", TTarnXMFormat::XM, ProbeXM, LoadXM},
    {"MOD", TTarnXMFormat::MOD, ProbeMOD, LoadMOD},
}};

}  // namespace

std::span<const TTarnXMLoader> ModuleLoaders() { return Loaders; }

const TTarnXMLoader* FindLoader(std::span<const std::uint8_t> data, TTarnXMProbe& probe) {
  for (const TTarnXMLoader& loader : Loaders) {
    probe = TTarnXMProbe{loader.Format, loader.Name, {}, 0};
    if (loader.Probe(data, probe)) return &loader;
  }
  probe = {};
  return nullptr;
}

std::shared_ptr<const TTarnXMSong> LoadSong(const void* data, std::size_t size, TTarnXMLoadError& error) {
  const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t*>(data), data ? size : 0);
  // Every module is longer than an XM header; a shorter block is refused
  // before any probe reads it.
  if (bytes.size() < static_cast<std::size_t>(XMHeaderSize)) {
    error = TTarnXMLoadError::TooShort;
    return nullptr;
  }
  TTarnXMProbe probe;
  const TTarnXMLoader* loader = FindLoader(bytes, probe);
  if (!loader) {
    error = TTarnXMLoadError::NotAModule;
    return nullptr;
  }
  // Every allocation of a load is bounded by the data, but a large file can
  // still exhaust memory: then the file is refused like any other.
  try {
    auto song = std::make_shared<TTarnXMSong>();
    error = loader->Load(*song, bytes);
    if (error != TTarnXMLoadError::None) return nullptr;
    return song;
  } catch (const std::bad_alloc&) {
    error = TTarnXMLoadError::OutOfMemory;
    return nullptr;
  }
}
