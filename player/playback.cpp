#include "player/playback.h"

TTarnXMPlayback::TTarnXMPlayback(const TTarnXMSong& song)
    : TickCounter(song.InitialSpeed), Speed(song.InitialSpeed), Tempo(song.InitialTempo) {
  for (int i = 0; i < TTarnXMSong::MaxChannels; ++i) Channels[i].Reset(song.ChannelSettings[i].DefaultPanning);
}

// A jump to the right of a break also takes the break's row back to 0
// (PatternJump.mod).
void TTarnXMPlayback::RequestPositionJump(std::int32_t order) {
  JumpOrder = order;
  JumpRow = 0;
  JumpPending = true;
  JumpIsLoop = false;
}

void TTarnXMPlayback::RequestPatternBreak(std::int32_t row) {
  if (!JumpPending || JumpIsLoop) JumpOrder = OrderPosition + 1;
  JumpRow = row;
  JumpPending = true;
  JumpIsLoop = false;
}

// A jump or break on the same row leaves the pattern all the same; the
// loop's count stays as it was set (PatLoop-Break.xm).
void TTarnXMPlayback::RequestPatternLoop(std::int32_t row) {
  if (JumpPending && !JumpIsLoop) return;
  JumpOrder = OrderPosition;
  JumpRow = row;
  JumpPending = true;
  JumpIsLoop = true;
}

void TTarnXMPlayback::StartNewPass() {
  SongEnded = false;
  for (std::bitset<256>& rows : PlayedRows) rows.reset();
  LoopStates.clear();
  if (PlayingOrder >= 0 && PlayingOrder < TTarnXMSong::MaxOrders && PlayingRow >= 0 && PlayingRow < 256)
    PlayedRows[PlayingOrder][PlayingRow] = true;
}
