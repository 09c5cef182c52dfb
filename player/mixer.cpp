#include "player/mixer.h"

#include <algorithm>

#include "player/channel.h"
#include "player/engine.h"

namespace {

// The volume envelope has stopped at 0 on its last point and nothing will
// bring it back; one that only starts at 0 rises later (menu.xm's instrument
// 15 fades its notes in from 0).
bool EnvelopeEndedSilent(const TTarnXMChannel& channel) {
  const TTarnXMEnvelope* envelope = channel.VolumeEnvelope.Envelope;
  return envelope && channel.EnvelopeVolume == 0 && envelope->Enabled && !envelope->LoopEnabled &&
         channel.VolumeEnvelope.PointIndex >= envelope->NumPoints - 1 &&
         (!envelope->SustainEnabled || channel.VolumeEnvelope.PointIndex > envelope->SustainPoint);
}

bool Silent(const TTarnXMChannel& channel) {
  return channel.RampLeft == 0 && channel.RampRight == 0 && channel.RampStepLeft == 0 && channel.RampStepRight == 0 &&
         !channel.FilterActive;
}

}  // namespace

TMixSelection SelectMixRoutine(const TTarnXMEngine& engine, const TTarnXMChannel& channel) {
  TMixAxes axes{};
  axes.OutputChannels = engine.Settings.OutputChannels;
  axes.Interpolation = std::min<int>(engine.Settings.Interpolation, TTarnXMRenderSettings::SincInterpolation);
  // A step of exactly one frame reads the sample values as they are.
  if (channel.Increment == static_cast<std::uint64_t>(OneFrame))
    axes.Interpolation = TTarnXMRenderSettings::NoInterpolation;
  axes.SampleChannels = channel.Sample->Channels == 2 ? 2 : 1;
  axes.Filter = !channel.FilterActive     ? NoFilter
                : channel.FilterMode == 0 ? LowPassFilter
                : channel.FilterMode == 1 ? HighPassFilter
                                          : NoFilter;
  axes.Ramping = channel.RampStepLeft != 0 || channel.RampStepRight != 0;
  axes.DifferentGains = !(channel.RampStepLeft == channel.RampStepRight && channel.RampLeft == channel.RampRight &&
                          channel.RampTargetLeft == channel.RampTargetRight);
  TMixSelection selection;
  selection.Routine = FindMixRoutine(MixRoutines(), axes);
  if (axes.Interpolation == TTarnXMRenderSettings::CubicInterpolation)
    selection.Table = engine.CubicSpline.Table.data();
  if (axes.Interpolation == TTarnXMRenderSettings::SincInterpolation) selection.Table = engine.WindowedFIR.Table.data();
  return selection;
}

void MixChannel(TTarnXMEngine& engine, TTarnXMChannel& channel, bool audible, std::int32_t offset, std::int32_t count) {
  if (channel.Increment == 0) {
    channel.Active = false;
    return;
  }
  if (!channel.Active || !channel.Sample) return;
  TMixSelection selection = SelectMixRoutine(engine, channel);
  const std::int32_t outputChannels = engine.Settings.OutputChannels;
  std::int64_t* out = engine.MixPointer + std::int64_t{offset} * outputChannels;
  std::int64_t remaining = count;
  while (remaining > 0) {
    const std::int64_t wanted =
        channel.RampSamples > 0 && channel.RampSamples < remaining ? channel.RampSamples : remaining;
    const std::int64_t n = std::min(SamplesToBoundary(channel, wanted), remaining);
    if (n == 0) {
      channel.Active = false;
      engine.AddDeclick(static_cast<std::int32_t>(offset + count - remaining), channel.LastLeft, channel.LastRight);
      channel.LastLeft = channel.LastRight = 0;
      return;
    }
    const std::uint64_t increment = channel.Increment;
    channel.MixIncrement = static_cast<std::int64_t>(channel.Backwards ? 0 - increment : increment);
    if (!audible || Silent(channel) || !selection.Routine) {
      channel.Position =
          static_cast<std::int64_t>(static_cast<std::uint64_t>(channel.Position) +
                                    static_cast<std::uint64_t>(channel.MixIncrement) * static_cast<std::uint64_t>(n));
      channel.LastLeft = channel.LastRight = 0;
      out += n * outputChannels;
    } else {
      std::int64_t* last = out + (n - 1) * outputChannels;
      const std::int64_t before[2] = {last[0], outputChannels == 2 ? last[1] : 0};
      selection.Routine(out, static_cast<std::int32_t>(n), channel, selection.Table);
      channel.LastLeft = last[0] - before[0];
      if (outputChannels == 2) channel.LastRight = last[1] - before[1];
    }
    remaining -= n;
    if (channel.RampSamples > 0) {
      channel.RampSamples = static_cast<std::int32_t>(channel.RampSamples - n);
      if (channel.RampSamples <= 0) {
        channel.RampLeft = channel.RampTargetLeft;
        channel.RampRight = channel.RampTargetRight;
        channel.RampStepLeft = channel.RampStepRight = 0;
        channel.RampSamples = 0;
        if (channel.RampLeft == 0 && channel.RampRight == 0 &&
            (channel.FadeOutVolume == 0 || EnvelopeEndedSilent(channel))) {
          channel.Active = false;
          return;
        }
        selection = SelectMixRoutine(engine, channel);
      }
    }
  }
}
