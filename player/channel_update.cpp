// Once per tick after the effects: the envelopes, fade-out and auto-vibrato,
// the limits, and what the mixer reads (gains, ramp, sample step).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "player/channel.h"
#include "player/playback.h"
#include "player/render_settings.h"

namespace {

// Auto-vibrato shapes at position 0..255: 0 sine, 1 square, 2 and 3 ramps.
std::int32_t AutoVibratoValue(std::int32_t type, std::int32_t p) {
  switch (type) {
    case 0: return static_cast<std::int32_t>(std::sin(p * 2.0 * std::numbers::pi / 256.0) * 64.0);
    case 1: return p < 128 ? 64 : -64;
    case 2: return (128 - (p + 128) % 256) / 2;
    case 3: return (128 - (384 - p) % 256) / 2;
    default: return 0;
  }
}

void AutoVibrato(TTarnXMChannel& channel) {
  const TTarnXMInstrument& instrument = *channel.Instrument;
  std::int32_t w = AutoVibratoValue(instrument.VibratoType, channel.AutoVibratoPosition) * instrument.VibratoDepth;
  if (instrument.VibratoSweep != 0) {
    w = w * channel.AutoVibratoSweep / instrument.VibratoSweep;
    if (!channel.KeyOff) channel.AutoVibratoSweep += 1;
    channel.AutoVibratoSweep = std::min(channel.AutoVibratoSweep, instrument.VibratoSweep);
  }
  channel.PeriodDelta += w / 64;
  channel.AutoVibratoPosition = (channel.AutoVibratoPosition + instrument.VibratoRate) % 256;
}

bool Plays(const TTarnXMEnvelopeHandler& handler) { return handler.Envelope && handler.Envelope->Enabled; }

// An enabled envelope without points has no value of its own.
std::int32_t EnvelopeValue(TTarnXMEnvelopeHandler& handler, std::int32_t neutral) {
  return handler.Envelope->NumPoints > 0 ? handler.Step() : neutral;
}

// Starts a ramp from the current gain to target over length frames; with no
// frames to ramp over the gain takes its target at once.
void StartRamp(std::int32_t gain, std::int32_t length, std::int32_t& ramp, std::int32_t& target, std::int32_t& step) {
  target = gain * 4096;
  step = target - ramp;
  if (length > 0) {
    step /= length;
  } else {
    ramp = target;
    step = 0;
  }
}

}  // namespace

void TTarnXMChannel::Update(TTarnXMTickContext& context) {
  if (!Instrument) {
    Active = false;
    return;
  }
  TTarnXMPlayback& state = context.State;
  const TTarnXMRenderSettings& settings = context.Settings;
  EnvelopeVolume = 64;
  EnvelopePanning = 32;
  if (Plays(VolumeEnvelope)) {
    EnvelopeVolume = EnvelopeValue(VolumeEnvelope, 64);
    if (!VolumeEnvelope.KeyOn) FadeOutVolume = std::max(FadeOutVolume - 2 * Instrument->FadeOut, 0);
  }
  if (Plays(PanningEnvelope)) EnvelopePanning = EnvelopeValue(PanningEnvelope, 32);
  AutoVibrato(*this);
  // A note whose instrument maps it to no sample has nothing to play.
  if (!Sample) Active = false;
  if (!Active) return;

  Volume = std::clamp(Volume, 0, 64);
  state.GlobalVolume = std::clamp(state.GlobalVolume, 0, 64);
  VolumeDelta = std::clamp(VolumeDelta, -64, 64);
  const std::int32_t v = std::clamp(Volume + VolumeDelta, 0, 64);
  Panning = std::clamp(Panning, 0, 255);
  EnvelopeVolume = std::clamp(EnvelopeVolume, 0, 64);
  // File envelopes hold bytes up to 255, which would push the gains far
  // outside the mixer's range.
  EnvelopePanning = std::clamp(EnvelopePanning, 0, 64);
  Period = std::clamp(Period, 27, 54784);

  std::int32_t f = FadeOutVolume * 4096 / 65536;
  f = f * EnvelopeVolume / 64;
  f = f * state.GlobalVolume / 64;
  f = f * v / 64;
  FinalVolume = f * std::clamp(settings.MasterVolume, 0, 256) / 256;
  FinalPanning = Panning + (128 - std::abs(Panning - 128)) * (EnvelopePanning - 32) / 32;

  const std::int32_t rampLength = std::min(settings.RampLength, state.SamplesPerTick);
  if (settings.OutputChannels == 1) {
    VolumeLeft = FinalVolume;
    StartRamp(VolumeLeft, rampLength, RampLeft, RampTargetLeft, RampStepLeft);
  } else {
    VolumeLeft = Surround ? FinalVolume : FinalVolume * (255 - FinalPanning) / 255;
    VolumeRight = Surround ? -FinalVolume : FinalVolume * FinalPanning / 256;
    StartRamp(VolumeLeft, rampLength, RampLeft, RampTargetLeft, RampStepLeft);
    StartRamp(VolumeRight, rampLength, RampRight, RampTargetRight, RampStepRight);
  }
  RampSamples = std::max(rampLength, 0);

  Frequency = context.Song.FrequencyFromPeriod(Period, PeriodDelta);
  Increment =
      settings.SampleRate > 0 ? static_cast<std::uint64_t>((std::int64_t{Frequency} << 32) / settings.SampleRate) : 0;
}
