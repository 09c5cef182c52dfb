#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "bench/peer_compare/level_meter.h"
#include "bench/peer_compare/run.h"
#include "tarnxm/tarnxm.h"

TRun RunOurs(const std::vector<char>& module) {
  TRun run;
  const TTarnXMLoad load = LoadModule(module.data(), module.size());
  if (!load) {
    run.Error = "our player cannot load it: " + load.Error;
    return run;
  }
  TTarnXMRenderOptions options;
  options.SampleRate = CompareRate;
  options.GainDb = DefaultGainDb;
  TTarnXMRenderer renderer(load.Song, options);
  run.Seconds = renderer.Subsongs()[0].Seconds;
  TLevelMeter meter(CompareRate);
  std::vector<float> buffer;
  std::int64_t frames = 0;
  // One tick at a time: its first frame runs the tick, so the frame info
  // then holds that tick's channels and the tempo that sets its length.
  while (frames < static_cast<std::int64_t>(LongestSeconds * CompareRate)) {
    float first[2];
    if (renderer.Render(first, 1) == 0) break;
    meter.Add(first, 1);
    const TTarnXMFrameInfo info = renderer.Info();
    TTickPitch& tick = run.Ticks.emplace_back();
    tick.Order = info.Order;
    tick.Row = info.Row;
    for (const TTarnXMChannelState& channel : info.Channels)
      tick.Hz.push_back(channel.Sounding ? channel.Frequency : 0.0);
    const std::int32_t tickFrames = std::max(CompareRate * 640 / (std::max(info.Tempo, 1) * 256), 1);
    buffer.resize(2 * static_cast<std::size_t>(tickFrames - 1));
    const std::size_t rendered = renderer.Render(buffer.data(), static_cast<std::size_t>(tickFrames - 1));
    meter.Add(buffer.data(), rendered);
    frames += 1 + static_cast<std::int64_t>(rendered);
  }
  run.WindowRms = std::move(meter.WindowRms);
  run.Samples = meter.Samples;
  run.Clipped = meter.Clipped;
  return run;
}
