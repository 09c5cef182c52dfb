#include "tools/tarnxm/play_controls.h"

#include <algorithm>
#include <utility>

#include "tools/tarnxm/play_status.h"

namespace {

void Jump(TTarnXM& player) {
  player.Device->Reset();
  player.FillBuffers();
}

}  // namespace

void StartSong(TTarnXM& player, std::shared_ptr<const TTarnXMSong> song, const TSoundOptions& options, bool jump,
               std::string& problem) {
  player.Enter();
  player.Renderer.SetSong(std::move(song));
  ApplySoundOptions(player.Renderer, options, problem);
  if (!problem.empty()) player.Renderer.SetSong(nullptr);
  if (jump) Jump(player);
  player.Leave();
}

void SeekBy(TTarnXM& player, double seconds) {
  player.Enter();
  player.Renderer.SeekTime(HeardSeconds(player) + seconds);
  Jump(player);
  player.Leave();
}

void StepOrder(TTarnXM& player, std::int32_t step) {
  player.Enter();
  if (player.Renderer.SeekOrder(std::max(0, player.Renderer.Info().Order + step), 0)) Jump(player);
  player.Leave();
}

std::int32_t StepSubsong(TTarnXM& player, std::int32_t step) {
  player.Enter();
  const auto count = static_cast<std::int32_t>(player.Renderer.Subsongs().size());
  if (player.Renderer.SelectSubsong(player.Renderer.CurrentSubsong() + step)) Jump(player);
  player.Leave();
  return count;
}

void ToggleMute(TTarnXM& player, std::int32_t channel) {
  player.Enter();
  player.Renderer.SetMuted(channel, !player.Renderer.IsMuted(channel));
  player.Leave();
}

void UnmuteAll(TTarnXM& player) {
  player.Enter();
  player.Renderer.UnmuteAll();
  player.Leave();
}
