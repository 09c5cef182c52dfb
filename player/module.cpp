#include "player/module.h"

#include "player/module_loaders.h"

namespace {

const std::shared_ptr<const TTarnXMSong>& EmptySong() {
  static const std::shared_ptr<const TTarnXMSong> song = std::make_shared<const TTarnXMSong>();
  return song;
}

}  // namespace

TTarnXMModule::TTarnXMModule() : Song(EmptySong()), State(*Song) {}

void TTarnXMModule::Clear() {
  SetSong(EmptySong());
  Loaded = false;
}

void TTarnXMModule::Reset() { State = TTarnXMPlayback(*Song); }

void TTarnXMModule::SetSong(std::shared_ptr<const TTarnXMSong> song) {
  Song = song ? std::move(song) : EmptySong();
  Loaded = Song != EmptySong();
  LoadError = TTarnXMLoadError::None;
  Reset();
}

bool TTarnXMModule::LoadFromMemory(const void* data, std::size_t size) {
  TTarnXMLoadError error = TTarnXMLoadError::None;
  std::shared_ptr<const TTarnXMSong> song = LoadSong(data, size, error);
  if (!song) {
    Clear();
    LoadError = error;
    return false;
  }
  SetSong(std::move(song));
  return true;
}
