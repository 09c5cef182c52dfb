#pragma once
// Each channel's own output, rendered alone beside the mix and in step with
// it, kept for the frames that the scopes still draw.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "tarnxm/tarnxm.h"

class TChannelScopes {
 public:
  // One renderer per channel of the song, each set to play that channel
  // alone in mono from where the mix starts; none for a channel that is not
  // heard, which stays silent.
  explicit TChannelScopes(std::vector<std::optional<TTarnXMRenderer>> channels);

  std::int32_t Channels() const { return static_cast<std::int32_t>(Channels_.size()); }
  // Frames [first, first + count) of the channel's output, counted from the
  // start of the render at full scale 1.0; silence before the start and
  // after the song's end.
  std::span<const float> Samples(std::int32_t channel, std::int64_t first, std::size_t count);
  // Frames before this one are not asked for again.
  void Forget(std::int64_t before);

 private:
  void RenderUntil(std::int64_t end);

  struct TChannel {
    std::optional<TTarnXMRenderer> Renderer;
    std::vector<float> Samples;  // from frame Base
  };
  std::vector<TChannel> Channels_;
  std::int64_t Base = 0;
  std::int64_t End = 0;  // every channel has its frames up to here
  std::vector<float> Window;
};
