#include "player/playback.h"

TTarnXMPlayback::TTarnXMPlayback(const TTarnXMSong& song)
    : TickCounter(song.InitialSpeed), Speed(song.InitialSpeed), Tempo(song.InitialTempo) {
  for (int i = 0; i < TTarnXMSong::MaxChannels; ++i) Channels[i].Reset(song.ChannelSettings[i].DefaultPanning);
}

void TTarnXMPlayback::RequestPositionJump(std::int32_t order) {
  JumpOrder = order;
  if (!JumpPending) JumpRow = 0;
  JumpPending = true;
  JumpIsLoop = false;
}

void TTarnXMPlayback::RequestPatternBreak(std::int32_t row) {
  if (!JumpPending) JumpOrder = OrderPosition + 1;
  JumpRow = row;
  JumpPending = true;
  JumpIsLoop = false;
}

void TTarnXMPlayback::RequestPatternLoop(std::int32_t row) {
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
