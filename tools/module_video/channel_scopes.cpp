#include "tools/module_video/channel_scopes.h"

#include <algorithm>

namespace {

constexpr std::int64_t BlockFrames = 2048;
// Frames forgotten together, so that the buffers move rarely.
constexpr std::int64_t ForgetFrames = 1 << 16;

}  // namespace

TChannelScopes::TChannelScopes(std::vector<std::optional<TTarnXMRenderer>> channels) {
  for (std::optional<TTarnXMRenderer>& renderer : channels) Channels_.push_back({std::move(renderer), {}});
}

void TChannelScopes::RenderUntil(std::int64_t end) {
  while (End < end) {
    const std::int64_t frames = std::min(BlockFrames, end - End);
    for (TChannel& channel : Channels_) {
      const std::size_t at = channel.Samples.size();
      channel.Samples.resize(at + static_cast<std::size_t>(frames), 0.0f);
      if (channel.Renderer) channel.Renderer->Render(channel.Samples.data() + at, static_cast<std::size_t>(frames));
    }
    End += frames;
  }
}

std::span<const float> TChannelScopes::Samples(std::int32_t channel, std::int64_t first, std::size_t count) {
  const auto last = first + static_cast<std::int64_t>(count);
  RenderUntil(last);
  Window.assign(count, 0.0f);
  const std::vector<float>& samples = Channels_[static_cast<std::size_t>(channel)].Samples;
  for (std::int64_t frame = std::max(first, Base); frame < last; ++frame)
    Window[static_cast<std::size_t>(frame - first)] = samples[static_cast<std::size_t>(frame - Base)];
  return Window;
}

void TChannelScopes::Forget(std::int64_t before) {
  before = std::min(before, End);
  if (before - Base < ForgetFrames) return;
  for (TChannel& channel : Channels_)
    channel.Samples.erase(channel.Samples.begin(), channel.Samples.begin() + (before - Base));
  Base = before;
}
