#pragma once
// The song and its playback state: a loaded song, shared and never changed,
// and the state that the sequencer moves on one tick at a time.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "player/load_error.h"
#include "player/playback.h"
#include "player/song.h"

struct TTarnXMRenderSettings;

class TTarnXMModule {
 public:
  // An empty song, rewound.
  TTarnXMModule();

  // Empties the song and rewinds; Loaded false.
  void Clear();
  // Rewinds playback to the song's start: the state is replaced as a whole.
  void Reset();
  // One sequencer tick: the row's cells on its first tick, the effects on
  // every tick, then every channel in use updated for the mixer.
  void Tick(const TTarnXMRenderSettings& settings);

  // Loads an XM or MOD by its content and rewinds. On failure the module is
  // left cleared and LoadError says why.
  bool LoadFromMemory(const void* data, std::size_t size);
  // Takes a loaded song and rewinds.
  void SetSong(std::shared_ptr<const TTarnXMSong> song);

  std::shared_ptr<const TTarnXMSong> Song;
  TTarnXMPlayback State;
  bool Loaded = false;
  TTarnXMLoadError LoadError = TTarnXMLoadError::None;
};
