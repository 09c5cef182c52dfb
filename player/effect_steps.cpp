#include "player/effect_steps.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "player/playback.h"

namespace {

// The period one semitone beyond period in the direction of target, or
// target itself when no semitone lies between them. Glissando bounds each
// step by it, so the slide moves a semitone at a time and still arrives.
std::int32_t NextSemitone(const TTarnXMSong& song, const TTarnXMChannel& channel, std::int32_t period,
                          std::int32_t target) {
  const std::int32_t note = song.NoteFromPeriod(period, channel.FineTune);
  if (period < target) {
    const std::int32_t above = song.PeriodFromNote(note - 1, channel.FineTune);
    return above > period ? std::min(above, target) : target;
  }
  const std::int32_t at = song.PeriodFromNote(note, channel.FineTune);
  const std::int32_t below = at < period ? at : song.PeriodFromNote(note + 1, channel.FineTune);
  return below < period ? std::max(below, target) : target;
}

}  // namespace

void Slide(std::int32_t& value, std::int64_t change) {
  value = static_cast<std::int32_t>(std::clamp<std::int64_t>(value + change, -SlideLimit, SlideLimit));
}

std::uint32_t NextRandom(std::uint32_t& state, std::uint32_t below) {
  state = state * 0x08088405u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state) * below) >> 32);
}

std::int32_t WaveformValue(std::int32_t shape, std::int32_t position, std::uint32_t& random) {
  switch (shape) {
    case 0:
      return static_cast<std::int32_t>(std::sin(position * 2.0 * std::numbers::pi / 64.0) * 256.0);
    case 1:
      return 255 - 4 * position;
    case 2:
      return position < 32 ? 255 : -255;
    default:
      return static_cast<std::int32_t>(NextRandom(random, 255));
  }
}

void VibratoStep(TTarnXMChannel& channel) {
  const std::int32_t w = WaveformValue(channel.VibratoWaveform % 4, channel.VibratoPosition, channel.RandomState);
  channel.PeriodDelta += 4 * (w * channel.VibratoDepth / 128);
  channel.VibratoPosition = (channel.VibratoPosition + channel.VibratoSpeed) % 64;
}

void TremoloStep(TTarnXMChannel& channel) {
  const std::int32_t w = WaveformValue(channel.TremoloWaveform % 4, channel.TremoloPosition, channel.RandomState);
  channel.VolumeDelta += w * channel.TremoloDepth / 64;
  channel.TremoloPosition = (channel.TremoloPosition + channel.TremoloSpeed) % 64;
}

void TremorStep(TTarnXMChannel& channel) {
  const std::int32_t cycle = channel.TremorOnTime + channel.TremorOffTime;
  if (cycle == 0) return;
  if (channel.TremorCounter >= channel.TremorOnTime) channel.VolumeDelta -= channel.Volume;
  channel.TremorCounter = (channel.TremorCounter + 1) % cycle;
}

void TonePortamentoStep(const TTarnXMSong& song, TTarnXMChannel& channel) {
  const std::int32_t target = channel.PortaTarget;
  const std::int32_t bound = channel.Glissando ? NextSemitone(song, channel, channel.Period, target) : target;
  const std::int64_t step = 4 * std::int64_t{channel.PortaSpeed};
  if (channel.Period < target)
    channel.Period = static_cast<std::int32_t>(std::min<std::int64_t>(channel.Period + step, bound));
  else if (channel.Period > target)
    channel.Period = static_cast<std::int32_t>(std::max<std::int64_t>(channel.Period - step, bound));
}

void RetriggerStep(TTarnXMTickContext& context, TTarnXMChannel& channel) {
  if (channel.RetrigInterval == 0 || context.State.TickCounter % channel.RetrigInterval != 0) return;
  channel.TriggerNote(context);
  const std::int64_t volume = channel.Volume;
  switch (channel.RetrigVolumeChange) {
    case 1: Slide(channel.Volume, -1); break;
    case 2: Slide(channel.Volume, -2); break;
    case 3: Slide(channel.Volume, -4); break;
    case 4: Slide(channel.Volume, -8); break;
    case 5: Slide(channel.Volume, -16); break;
    case 6: Slide(channel.Volume, volume * 2 / 3 - volume); break;
    case 7: Slide(channel.Volume, volume / 2 - volume); break;
    case 9: Slide(channel.Volume, 1); break;
    case 10: Slide(channel.Volume, 2); break;
    case 11: Slide(channel.Volume, 4); break;
    case 12: Slide(channel.Volume, 8); break;
    case 13: Slide(channel.Volume, 16); break;
    case 14: Slide(channel.Volume, volume * 3 / 2 - volume); break;
    case 15: Slide(channel.Volume, volume); break;
    default: break;
  }
}
