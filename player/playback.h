#pragma once
// Playback state: where the song is, what the effects have set, every
// channel, and the click-removal offsets. It is one value: a rewind replaces
// it with the state a song starts from, so nothing can be left behind, and a
// copy of it is a point to come back to.
#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "player/channel.h"
#include "player/song.h"

class TTarnXMPlayback {
 public:
  // The state at the song's start, where the first tick plays row 0 of
  // order 0 at once.
  explicit TTarnXMPlayback(const TTarnXMSong& song);

  // Requests of the channels while a row is read: the pending jump that the
  // sequencer carries out once every channel has read the row.
  void RequestPositionJump(std::int32_t order);
  void RequestPatternBreak(std::int32_t row);
  void RequestPatternLoop(std::int32_t row);
  // After the song has come round: SongEnded cleared and the played rows
  // forgotten but the one just started, so that the next time round is
  // found as well.
  void StartNewPass();

  std::int32_t GlobalVolume = 64;
  std::int32_t TickCounter = 0;
  std::int32_t PatternDelayCount = 0;
  std::uint8_t Speed = 6;
  std::uint8_t Tempo = 125;
  std::int32_t JumpOrder = 0;
  std::int32_t JumpRow = 0;
  bool JumpPending = false;
  bool JumpIsLoop = false;  // the pending jump is a pattern loop's
  std::int32_t OrderPosition = 0;
  std::int32_t Row = 0;
  std::uint8_t CurrentPattern = 0;
  // Where the row being played lies: OrderPosition and Row move on as soon
  // as a row has been read.
  std::int32_t PlayingOrder = 0;
  std::int32_t PlayingRow = 0;

  // Frames per tick at the current tempo, and those still to render of the
  // tick under way.
  std::int32_t SamplesPerTick = 0;
  std::int32_t TickSamplesLeft = 0;
  // Frames rendered since the start.
  std::int64_t FramesPlayed = 0;

  // Set when a row is about to start again that already started since the
  // start (other than by a pattern loop), or no row can be found: the song
  // has come round. Playback itself goes on; SongEnded stays set until
  // the renderer, counting the loop, clears it.
  bool SongEnded = false;
  // Rows started since the start or the last time round, by order; rows from
  // 256 on hold no cells and are only reached through the row before them,
  // so they need no entry.
  std::array<std::bitset<256>, TTarnXMSong::MaxOrders> PlayedRows{};
  // The pattern loops taken since then, each as the position it jumped from
  // and every channel's loop state. Where and how often a loop jumps depends
  // on nothing else, so a loop taken twice from the same state will be taken
  // for ever (channels whose loops keep re-arming each other): the song has
  // come round as surely as by a row played again.
  std::vector<std::uint64_t> LoopStates;  // hashed, in order
  static constexpr std::size_t MaxLoopStates = 65536;

  std::int64_t DeclickLeft = 0;  // click-removal offsets, decayed as they are added
  std::int64_t DeclickRight = 0;

  std::array<TTarnXMChannel, TTarnXMSong::MaxChannels> Channels;
};

// What a channel's row, tick and update work on: the song it reads, the
// state it writes (its own channel among it) and the render settings.
struct TTarnXMRenderSettings;
struct TTarnXMTickContext {
  const TTarnXMSong& Song;
  TTarnXMPlayback& State;
  const TTarnXMRenderSettings& Settings;
};
