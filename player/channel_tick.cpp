// The ticks of a row after its first: the volume column's and the effect's
// slides, steps, retriggers and cuts.
#include "player/channel.h"
#include "player/effect_steps.h"
#include "player/playback.h"
#include "player/tracker_rules.h"

namespace {

// Which of the arpeggio's pitches (0 the note, 1 +x, 2 +y) the row's tick
// plays. ProTracker counts the ticks up. FastTracker 2 counts them down from
// the speed through a 16-step table, and further down reads the vibrato
// table that follows it, whose entries all mean +y (Arpeggio.xm).
std::int32_t ArpeggioStep(const TTarnXMSong& song, std::int32_t speed, std::int32_t tick) {
  const std::int32_t t = tick % speed;
  if (t == 0 || PlaysByProTrackerRules(song)) return t % 3;
  const std::int32_t countdown = speed - t;
  if (countdown < 16) return countdown % 3;
  return countdown == 16 ? 0 : 2;
}

void VolumeColumnOtherTick(const TTarnXMSong& song, TTarnXMChannel& channel) {
  const std::int32_t v = channel.VolumeColumn;
  const std::int32_t y = v % 16;
  if (v >= 0x60 && v <= 0x6F) Slide(channel.Volume, -y);
  else if (v >= 0x70 && v <= 0x7F) Slide(channel.Volume, y);
  else if (v >= 0xB0 && v <= 0xBF) VibratoStep(song, channel);
  else if (v >= 0xD0 && v <= 0xDF) Slide(channel.Panning, -y);
  else if (v >= 0xE0 && v <= 0xEF) Slide(channel.Panning, y);
  else if (v >= 0xF0 && v <= 0xFF) TonePortamentoStep(channel);
}

void ExtendedOtherTick(TTarnXMTickContext& context, TTarnXMChannel& channel, std::int32_t x, std::int32_t y) {
  const std::int32_t tick = channel.Tick;
  switch (static_cast<TTarnXMExtendedEffect>(x)) {
    case TTarnXMExtendedEffect::Retrigger:
      if (y && tick % y == 0) channel.RetriggerSample(context);
      break;
    case TTarnXMExtendedEffect::NoteCut:
      if (tick == y) channel.Volume = 0;
      break;
    // A note delay fires again on each repetition of a pattern delay
    // (PatternDelay-NoteDelay.xm); ED0 is no delay.
    case TTarnXMExtendedEffect::NoteDelay:
      if (y != 0 && tick == y) channel.StartCell(context);
      break;
    default: break;
  }
}

void EffectOtherTick(TTarnXMTickContext& context, TTarnXMChannel& channel) {
  const std::int32_t p = channel.EffectParameter;
  switch (static_cast<TTarnXMEffect>(channel.Effect)) {
    case TTarnXMEffect::Arpeggio:
      if (p) channel.PeriodDelta += channel.Arpeggio[ArpeggioStep(context.Song, context.State.Speed, channel.Tick)];
      break;
    case TTarnXMEffect::PortamentoUp:
      PortamentoSlide(context.Song, channel, -4 * std::int64_t{channel.PortaUpSpeed});
      break;
    case TTarnXMEffect::PortamentoDown:
      PortamentoSlide(context.Song, channel, 4 * std::int64_t{channel.PortaDownSpeed});
      break;
    case TTarnXMEffect::TonePortamento: TonePortamentoStep(channel); break;
    case TTarnXMEffect::Vibrato: VibratoStep(context.Song, channel); break;
    case TTarnXMEffect::TonePortamentoVolumeSlide:
      TonePortamentoStep(channel);
      Slide(channel.Volume, channel.VolumeSlide);
      break;
    case TTarnXMEffect::VibratoVolumeSlide:
      VibratoStep(context.Song, channel);
      Slide(channel.Volume, channel.VolumeSlide);
      break;
    case TTarnXMEffect::Tremolo: TremoloStep(channel); break;
    case TTarnXMEffect::VolumeSlide: Slide(channel.Volume, channel.VolumeSlide); break;
    case TTarnXMEffect::Extended: ExtendedOtherTick(context, channel, p >> 4, p & 15); break;
    case TTarnXMEffect::GlobalVolumeSlide: Slide(context.State.GlobalVolume, channel.GlobalVolumeSlide); break;
    case TTarnXMEffect::PanningSlide: Slide(channel.Panning, channel.PanningSlide); break;
    case TTarnXMEffect::KeyOff:
      if (channel.Tick == p) ReleaseKey(channel);
      break;
    case TTarnXMEffect::MultiRetrigger: RetriggerStep(context, channel); break;
    case TTarnXMEffect::Tremor: TremorStep(channel, true); break;
    case TTarnXMEffect::MidiMacro:
    case TTarnXMEffect::SmoothMidiMacro: channel.RunMacro(context, channel.Effect, p); break;
    default: break;
  }
}

}  // namespace

void TTarnXMChannel::ProcessTick(TTarnXMTickContext& context) {
  PeriodDelta = 0;
  VolumeDelta = 0;
  VolumeColumnOtherTick(context.Song, *this);
  EffectOtherTick(context, *this);
  GlissandoStep(context.Song, *this);
}
