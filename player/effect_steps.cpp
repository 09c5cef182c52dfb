#include "player/effect_steps.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "player/playback.h"
#include "player/tracker_rules.h"

namespace {

// Half a sine cycle in 32 steps, as both trackers tabulate it.
constexpr std::array<std::int32_t, 32> HalfSine{0,   24,  49,  74,  97,  120, 141, 161, 180, 197, 212,
                                                224, 235, 244, 250, 253, 255, 253, 250, 244, 235, 224,
                                                212, 197, 180, 161, 141, 120, 97,  74,  49,  24};

// ProTracker holds the period of a slide within the sample's fine-tune
// table, C-1 to B-3, in whole Amiga periods of 4 fine units
// (AmigaLimitsFinetune.mod).
constexpr std::int32_t TableLowNote = 36;
constexpr std::int32_t TableHighNote = 71;

std::int32_t TableLimit(const TTarnXMSong& song, const TTarnXMChannel& channel, std::int32_t note) {
  return 4 * static_cast<std::int32_t>(std::lround(song.PeriodFromNote(note, channel.FineTune) / 4.0));
}

std::int32_t GlissandoPeriod(const TTarnXMSong& song, const TTarnXMChannel& channel) {
  const std::int32_t note = song.NoteFromPeriod(channel.Period, channel.FineTune);
  const std::int32_t at = song.PeriodFromNote(note, channel.FineTune);
  // ProTracker takes the first table entry not above the period, FastTracker
  // 2 the nearest semitone (Glissando.xm).
  if (PlaysByProTrackerRules(song)) return at;
  const std::int32_t below = song.PeriodFromNote(note - 1, channel.FineTune);
  return below - channel.Period < channel.Period - at ? below : at;
}

}  // namespace

bool SetsVolume(const TTarnXMChannel& channel) {
  return (channel.VolumeColumn >= 0x10 && channel.VolumeColumn <= 0x50) ||
         static_cast<TTarnXMEffect>(channel.Effect) == TTarnXMEffect::SetVolume;
}

void ReleaseKey(TTarnXMChannel& channel) {
  channel.VolumeEnvelope.KeyOn = false;
  channel.PanningEnvelope.KeyOn = false;
  channel.KeyOff = true;
  // Nothing would fade such a note out: the key-off mutes it, unless its
  // cell sets a volume (NoteOffVolume.xm).
  if (channel.Instrument && !channel.Instrument->VolumeEnvelope.Enabled && !SetsVolume(channel)) channel.Volume = 0;
}

// Both nibbles set slide up: heroes04.xm's A3F rises by 3 a tick.
std::int32_t SlideRate(std::int32_t parameter) {
  const std::int32_t x = parameter >> 4;
  return x != 0 ? x : -(parameter & 15);
}

bool IsTonePortamento(const TTarnXMChannel& channel) {
  const auto effect = static_cast<TTarnXMEffect>(channel.Effect);
  return effect == TTarnXMEffect::TonePortamento || effect == TTarnXMEffect::TonePortamentoVolumeSlide ||
         (channel.VolumeColumn >= 0xF0 && channel.VolumeColumn <= 0xFF);
}

void Slide(std::int32_t& value, std::int64_t change) {
  value = static_cast<std::int32_t>(std::clamp<std::int64_t>(value + change, -SlideLimit, SlideLimit));
}

void PortamentoSlide(const TTarnXMSong& song, TTarnXMChannel& channel, std::int64_t change) {
  Slide(channel.Period, change);
  if (!PlaysByProTrackerRules(song)) return;
  if (change < 0) channel.Period = std::max(channel.Period, TableLimit(song, channel, TableHighNote));
  else channel.Period = std::min(channel.Period, TableLimit(song, channel, TableLowNote));
}

std::int32_t WaveformValue(std::int32_t shape, std::int32_t position) {
  const std::int32_t p = position & 63;
  switch (shape & 3) {
    case 0: return p < 32 ? HalfSine[p] : -HalfSine[p - 32];
    case 1: return p < 32 ? 8 * p : 8 * (p - 32) - 255;
    // Shape 3, listed as random, plays as the square (VibratoWaveforms.xm).
    default: return p < 32 ? 255 : -255;
  }
}

std::int32_t VibratoOffset(const TTarnXMSong& song, const TTarnXMChannel& channel) {
  const std::int32_t w = WaveformValue(channel.VibratoWaveform, channel.VibratoPosition);
  if (PlaysByProTrackerRules(song)) return 4 * (w * channel.VibratoDepth / 128);
  return w * channel.VibratoDepth / 32;
}

void VibratoStep(const TTarnXMSong& song, TTarnXMChannel& channel) {
  channel.PeriodDelta += VibratoOffset(song, channel);
  channel.VibratoPosition = (channel.VibratoPosition + channel.VibratoSpeed) % 64;
}

void TremoloStep(TTarnXMChannel& channel) {
  const std::int32_t w = WaveformValue(channel.TremoloWaveform, channel.TremoloPosition);
  channel.TremoloOffset = w * channel.TremoloDepth / 64;
  channel.VolumeDelta += channel.TremoloOffset;
  channel.TremoloPosition = (channel.TremoloPosition + channel.TremoloSpeed) % 64;
}

// T11 is two ticks on, two off (Tremor.xm).
void TremorStep(TTarnXMChannel& channel, bool advance) {
  const std::int32_t onTicks = channel.TremorOnTime + 1;
  const std::int32_t cycle = onTicks + channel.TremorOffTime + 1;
  if (advance) channel.TremorCounter = (channel.TremorCounter + 1) % cycle;
  if (channel.TremorCounter >= onTicks) channel.VolumeDelta -= channel.Volume;
}

void TonePortamentoStep(TTarnXMChannel& channel) {
  const std::int32_t target = channel.PortaTarget;
  const std::int64_t step = 4 * std::int64_t{channel.PortaSpeed};
  if (channel.Period < target)
    channel.Period = static_cast<std::int32_t>(std::min<std::int64_t>(channel.Period + step, target));
  else if (channel.Period > target)
    channel.Period = static_cast<std::int32_t>(std::max<std::int64_t>(channel.Period - step, target));
}

void GlissandoStep(const TTarnXMSong& song, TTarnXMChannel& channel) {
  if (!channel.Glissando || !IsTonePortamento(channel)) return;
  channel.PeriodDelta += GlissandoPeriod(song, channel) - channel.Period;
}

void RetriggerStep(TTarnXMTickContext& context, TTarnXMChannel& channel) {
  if (channel.RetrigInterval == 0 || context.State.TickCounter % channel.RetrigInterval != 0) return;
  channel.RetriggerSample(context);
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
