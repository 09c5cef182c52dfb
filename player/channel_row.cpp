// The first tick of a row: the cell's note and instrument, then the volume
// column and the effect.
#include <algorithm>

#include "player/channel.h"
#include "player/effect_steps.h"
#include "player/playback.h"

namespace {

bool IsNote(std::int32_t note) { return note >= 1 && note <= 96; }
constexpr std::int32_t KeyOffNote = 97;

void ReleaseKey(TTarnXMChannel& channel) {
  channel.VolumeEnvelope.KeyOn = false;
  channel.PanningEnvelope.KeyOn = false;
  channel.KeyOff = true;
}

void VolumeColumnFirstTick(TTarnXMChannel& channel) {
  const std::int32_t v = channel.VolumeColumn;
  const std::int32_t y = v % 16;
  if (v >= 0x10 && v <= 0x50) channel.Volume = v - 16;
  else if (v >= 0x80 && v <= 0x8F) Slide(channel.Volume, -y);
  else if (v >= 0x90 && v <= 0x9F) Slide(channel.Volume, y);
  else if (v >= 0xA0 && v <= 0xAF) channel.VibratoSpeed = y;
  else if (v >= 0xB0 && v <= 0xBF) channel.VibratoDepth = y;
  else if (v >= 0xC0 && v <= 0xCF) channel.Panning = y * 16;
  else if (v >= 0xF0 && v <= 0xFF) channel.PortaSpeed = y;
}

// The period offset of x semitones above the channel's note.
std::int32_t ArpeggioOffset(const TTarnXMSong& song, const TTarnXMChannel& channel, std::int32_t x) {
  if (song.LinearFrequency) return 64 * x;
  return song.PeriodFromNote(channel.RealNote + x, channel.FineTune) -
         song.PeriodFromNote(channel.RealNote, channel.FineTune);
}

void PatternLoop(TTarnXMPlayback& state, TTarnXMChannel& channel, std::int32_t y) {
  if (y == 0) {
    if (!channel.LoopActive) channel.LoopRow = state.Row;
  } else if (!channel.LoopActive) {
    channel.LoopCount = y;
    channel.LoopActive = true;
    state.RequestPatternLoop(channel.LoopRow);
  } else if (channel.LoopCount != 0) {
    channel.LoopCount -= 1;
    state.RequestPatternLoop(channel.LoopRow);
  } else {
    channel.LoopActive = false;
  }
}

void ExtendedFirstTick(TTarnXMTickContext& context, TTarnXMChannel& channel, std::int32_t x, std::int32_t y) {
  const TTarnXMSong& song = context.Song;
  switch (static_cast<TTarnXMExtendedEffect>(x)) {
    case TTarnXMExtendedEffect::FinePortamentoUp:
      if (y) channel.FinePortaUpSpeed = y;
      Slide(channel.Period, -4 * channel.FinePortaUpSpeed);
      break;
    case TTarnXMExtendedEffect::FinePortamentoDown:
      if (y) channel.FinePortaDownSpeed = y;
      Slide(channel.Period, 4 * channel.FinePortaDownSpeed);
      break;
    case TTarnXMExtendedEffect::Glissando: channel.Glissando = y != 0; break;
    case TTarnXMExtendedEffect::VibratoWaveform: channel.VibratoWaveform = y % 8; break;
    case TTarnXMExtendedEffect::SetFineTune:
      channel.Period = song.PeriodFromNote(song.NoteFromPeriod(channel.Period, channel.FineTune), y);
      channel.FineTune = y;
      break;
    case TTarnXMExtendedEffect::PatternLoop: PatternLoop(context.State, channel, y); break;
    case TTarnXMExtendedEffect::TremoloWaveform: channel.TremoloWaveform = y % 8; break;
    case TTarnXMExtendedEffect::FineVolumeSlideUp:
      if (y) channel.FineVolumeUpSpeed = y;
      Slide(channel.Volume, channel.FineVolumeUpSpeed);
      break;
    case TTarnXMExtendedEffect::FineVolumeSlideDown:
      if (y) channel.FineVolumeDownSpeed = y;
      Slide(channel.Volume, -channel.FineVolumeDownSpeed);
      break;
    // Pattern delay: the row lasts y more times its speed; the effects keep
    // running on the added ticks and no note starts again.
    case TTarnXMExtendedEffect::PatternDelay: context.State.PatternDelayCount = y; break;
    case TTarnXMExtendedEffect::SetActiveMacro: channel.ActiveMacro = y; break;
    default: break;
  }
}

// The sub-commands of the extra-fine effect: extra-fine slides up and down,
// and sound control (surround, filter on notes, playing direction).
enum class TExtraFine { PortamentoUp = 1, PortamentoDown = 2, SoundControl = 9 };

void ExtraFine(TTarnXMChannel& channel, std::int32_t x, std::int32_t y) {
  switch (static_cast<TExtraFine>(x)) {
    case TExtraFine::PortamentoUp:
      if (y) channel.ExtraFinePortaUpSpeed = y;
      Slide(channel.Period, -channel.ExtraFinePortaUpSpeed);
      break;
    case TExtraFine::PortamentoDown:
      if (y) channel.ExtraFinePortaDownSpeed = y;
      Slide(channel.Period, channel.ExtraFinePortaDownSpeed);
      break;
    case TExtraFine::SoundControl:
      if (y == 0) channel.Surround = true;
      else if (y == 1) channel.Surround = false;
      else if (y == 12) channel.FilterOffOnNote = false;
      else if (y == 13) channel.FilterOffOnNote = true;
      else if (y == 14) channel.Backwards = false;
      else if (y == 15) channel.Backwards = true;
      break;
    default: break;
  }
}

void EffectFirstTick(TTarnXMTickContext& context, TTarnXMChannel& channel) {
  TTarnXMPlayback& state = context.State;
  const std::int32_t p = channel.EffectParameter;
  const std::int32_t x = p >> 4;
  const std::int32_t y = p & 15;
  switch (static_cast<TTarnXMEffect>(channel.Effect)) {
    case TTarnXMEffect::Arpeggio:
      if (p) channel.Arpeggio = {0, ArpeggioOffset(context.Song, channel, x), ArpeggioOffset(context.Song, channel, y)};
      break;
    case TTarnXMEffect::PortamentoUp:
      if (p) channel.PortaUpSpeed = p;
      break;
    case TTarnXMEffect::PortamentoDown:
      if (p) channel.PortaDownSpeed = p;
      break;
    case TTarnXMEffect::TonePortamento:
      if (p) channel.PortaSpeed = p;
      break;
    case TTarnXMEffect::Vibrato:
      if (p) {
        channel.VibratoSpeed = x;
        channel.VibratoDepth = y;
      }
      VibratoStep(channel);
      break;
    case TTarnXMEffect::TonePortamentoVolumeSlide:
      if (p) channel.VolumeSlide = x - y;
      break;
    case TTarnXMEffect::VibratoVolumeSlide:
      if (p) channel.VolumeSlide = x - y;
      VibratoStep(channel);
      break;
    case TTarnXMEffect::Tremolo:
      if (p) {
        channel.TremoloSpeed = x;
        channel.TremoloDepth = y;
      }
      break;
    case TTarnXMEffect::SetPanning: channel.Panning = p; break;
    case TTarnXMEffect::SampleOffset: channel.Position = std::int64_t{p} * 256 << 32; break;
    case TTarnXMEffect::VolumeSlide:
      if (p) channel.VolumeSlide = x - y;
      break;
    case TTarnXMEffect::PositionJump: state.RequestPositionJump(p); break;
    case TTarnXMEffect::SetVolume: channel.Volume = p; break;
    case TTarnXMEffect::PatternBreak: state.RequestPatternBreak(p); break;
    case TTarnXMEffect::Extended: ExtendedFirstTick(context, channel, x, y); break;
    case TTarnXMEffect::SetSpeedTempo:
      if (p <= 32) state.Speed = static_cast<std::uint8_t>(p);
      else state.Tempo = static_cast<std::uint8_t>(p);
      break;
    case TTarnXMEffect::SetGlobalVolume: state.GlobalVolume = p; break;
    case TTarnXMEffect::GlobalVolumeSlide:
      if (p) channel.GlobalVolumeSlide = x - y;
      break;
    case TTarnXMEffect::KeyOff: ReleaseKey(channel); break;
    case TTarnXMEffect::SetEnvelopePosition:
      channel.VolumeEnvelope.SetPosition(p);
      channel.PanningEnvelope.SetPosition(p);
      break;
    case TTarnXMEffect::PanningSlide:
      if (p) channel.PanningSlide = x - y;
      break;
    case TTarnXMEffect::FilterResonance:
      channel.FilterResonance = p;
      channel.FilterSetup(context, !channel.FilterActive);
      break;
    case TTarnXMEffect::MultiRetrigger:
      if (p) {
        channel.RetrigVolumeChange = x;
        channel.RetrigInterval = y;
      }
      break;
    case TTarnXMEffect::Tremor:
      if (p) {
        channel.TremorOnTime = x;
        channel.TremorOffTime = y;
      }
      TremorStep(channel);
      break;
    case TTarnXMEffect::ExtraFinePortamento: ExtraFine(channel, x, y); break;
    case TTarnXMEffect::MidiMacro:
    case TTarnXMEffect::SmoothMidiMacro: channel.RunMacro(context, channel.Effect, p); break;
    default: break;
  }
}

}  // namespace

void TTarnXMChannel::TriggerNote(TTarnXMTickContext& context) {
  const auto effect = static_cast<TTarnXMEffect>(Effect);
  const bool portaNote = effect == TTarnXMEffect::TonePortamento || effect == TTarnXMEffect::TonePortamentoVolumeSlide ||
                         (VolumeColumn >= 0xF0 && VolumeColumn <= 0xFF);
  if (InstrumentNumber >= 1 && InstrumentNumber <= TTarnXMSong::MaxInstruments) {
    ResetVoice();
    Instrument = context.Song.InstrumentAt(InstrumentNumber);
    if (Instrument) {
      VolumeEnvelope.Envelope = &Instrument->VolumeEnvelope;
      PanningEnvelope.Envelope = &Instrument->PanningEnvelope;
      VolumeEnvelope.SetPosition(0);
      PanningEnvelope.SetPosition(0);
      VolumeEnvelope.KeyOn = true;
      PanningEnvelope.KeyOn = true;
      KeyOff = false;
      FadeOutVolume = 65536;
    }
  }
  if (Instrument && IsNote(Note)) {
    if (!(portaNote && Sample)) Sample = Instrument->Samples[Instrument->SampleMap[Note - 1]].get();
    if (Sample) {
      RealNote = Sample->RelativeNote + Note - 1;
      FineTune = Sample->FineTune;
      PortaTarget = context.Song.PeriodFromNote(RealNote, FineTune);
    }
    if (Period != 0 && portaNote) {
      RealNote = Note;
    } else {
      if (FilterOffOnNote) FilterActive = false;
      VolumeEnvelope.SetPosition(0);
      PanningEnvelope.SetPosition(0);
      Period = PortaTarget;
      Position = 0;
      Backwards = false;
      context.State.DeclickLeft += LastLeft;
      context.State.DeclickRight += LastRight;
      LastLeft = 0;
      LastRight = 0;
      VolumeLeft = 0;
      VolumeRight = 0;
      RampLeft = 0;
      RampRight = 0;
      Active = true;
      PlayingNote = Note;
    }
  }
  if (InstrumentNumber != 0 && Sample) {
    Active = true;
    PlayingInstrument = InstrumentNumber;
    Volume = Sample->Volume;
    if (Sample->UsePanning) Panning = Sample->Panning;
  }
  if (Note == KeyOffNote) ReleaseKey(*this);
}

void TTarnXMChannel::ProcessRow(TTarnXMTickContext& context) {
  const bool noteDelay = static_cast<TTarnXMEffect>(Effect) == TTarnXMEffect::Extended &&
                         static_cast<TTarnXMExtendedEffect>(EffectParameter >> 4) == TTarnXMExtendedEffect::NoteDelay &&
                         (EffectParameter & 15) != 0;
  if (!noteDelay) TriggerNote(context);
  PeriodDelta = 0;
  VolumeDelta = 0;
  VolumeColumnFirstTick(*this);
  EffectFirstTick(context, *this);
}
