#pragma once
// What tarnxm play does to the player as it plays, each under the player's
// lock. A jump (another song, a seek, another order or subsong) empties the
// device's queue and fills it again at once, so that it is heard without the
// queue's delay; a mute is heard once the queue has played.
#include <cstdint>
#include <memory>
#include <string>

#include "player/output/player.h"
#include "tools/tarnxm/sound_options.h"

// The song as the options ask, played on from the device's queue or, with
// jump, at once. problem says why it cannot be played so; the player then
// plays silence.
void StartSong(TTarnXM& player, std::shared_ptr<const TTarnXMSong> song, const TSoundOptions& options, bool jump,
               std::string& problem);
// From the time heard.
void SeekBy(TTarnXM& player, double seconds);
// To the first row of the order step orders from the one playing; the first
// order where that lies before it, nothing where it lies after the last.
void StepOrder(TTarnXM& player, std::int32_t step);
// To the start of the subsong step subsongs from this one, where there is
// one. Returns how many the song has.
std::int32_t StepSubsong(TTarnXM& player, std::int32_t step);
void ToggleMute(TTarnXM& player, std::int32_t channel);
void UnmuteAll(TTarnXM& player);
