// The ticks of a row after its first: the volume column's and the effect's
// slides, steps, retriggers and cuts.
#include "player/channel.h"
#include "player/effect_steps.h"
#include "player/playback.h"

namespace {

void VolumeColumnOtherTick(const TTarnXMSong& song, TTarnXMChannel& channel) {
  const std::int32_t v = channel.VolumeColumn;
  const std::int32_t y = v % 16;
  if (v >= 0x60 && v <= 0x6F) Slide(channel.Volume, -y);
  else if (v >= 0x70 && v <= 0x7F) Slide(channel.Volume, y);
  else if (v >= 0xB0 && v <= 0xBF) VibratoStep(channel);
  else if (v >= 0xD0 && v <= 0xDF) Slide(channel.Panning, -y);
  else if (v >= 0xE0 && v <= 0xEF) Slide(channel.Panning, y);
  else if (v >= 0xF0 && v <= 0xFF) TonePortamentoStep(song, channel);
}

void ExtendedOtherTick(TTarnXMTickContext& context, TTarnXMChannel& channel, std::int32_t x, std::int32_t y) {
  const std::int32_t tick = context.State.TickCounter;
  switch (static_cast<TTarnXMExtendedEffect>(x)) {
    case TTarnXMExtendedEffect::Retrigger:
      if (y && tick % y == 0) channel.TriggerNote(context);
      break;
    case TTarnXMExtendedEffect::NoteCut:
      if (tick == y) channel.Volume = 0;
      break;
    case TTarnXMExtendedEffect::NoteDelay:
      if (tick == y) channel.TriggerNote(context);
      break;
    default: break;
  }
}

void EffectOtherTick(TTarnXMTickContext& context, TTarnXMChannel& channel) {
  const std::int32_t p = channel.EffectParameter;
  switch (static_cast<TTarnXMEffect>(channel.Effect)) {
    case TTarnXMEffect::Arpeggio:
      // Ticks 3, 7, ... of the cycle play the plain note.
      if (p && channel.Tick % 4 != 3) channel.PeriodDelta += channel.Arpeggio[channel.Tick % 4];
      break;
    case TTarnXMEffect::PortamentoUp: Slide(channel.Period, -4 * std::int64_t{channel.PortaUpSpeed}); break;
    case TTarnXMEffect::PortamentoDown: Slide(channel.Period, 4 * std::int64_t{channel.PortaDownSpeed}); break;
    case TTarnXMEffect::TonePortamento: TonePortamentoStep(context.Song, channel); break;
    case TTarnXMEffect::Vibrato: VibratoStep(channel); break;
    case TTarnXMEffect::TonePortamentoVolumeSlide:
      TonePortamentoStep(context.Song, channel);
      Slide(channel.Volume, channel.VolumeSlide);
      break;
    case TTarnXMEffect::VibratoVolumeSlide:
      VibratoStep(channel);
      Slide(channel.Volume, channel.VolumeSlide);
      break;
    case TTarnXMEffect::Tremolo: TremoloStep(channel); break;
    case TTarnXMEffect::VolumeSlide: Slide(channel.Volume, channel.VolumeSlide); break;
    case TTarnXMEffect::Extended: ExtendedOtherTick(context, channel, p >> 4, p & 15); break;
    case TTarnXMEffect::GlobalVolumeSlide: Slide(context.State.GlobalVolume, channel.GlobalVolumeSlide); break;
    case TTarnXMEffect::PanningSlide: Slide(channel.Panning, channel.PanningSlide); break;
    case TTarnXMEffect::MultiRetrigger: RetriggerStep(context, channel); break;
    case TTarnXMEffect::Tremor: TremorStep(channel); break;
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
}
