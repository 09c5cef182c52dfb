#include "player/song_scan.h"

TTarnXMScanResult ScanSong(TTarnXMEngine& engine, std::int64_t limit,
                           const std::function<bool(const TTarnXMPlayback&)>& onRow) {
  TTarnXMScanResult result;
  const TTarnXMPlayback& state = engine.Module.State;
  while (result.Frames < limit) {
    engine.DoTick();
    if (state.SongEnded) {
      result.Ended = true;
      return result;
    }
    if (state.TickCounter == 0 && onRow(state)) {
      result.Stopped = true;
      return result;
    }
    result.Frames += state.SamplesPerTick;
  }
  return result;
}
