// The first tick of a row: the cell's note and instrument, then the volume
// column and the effect.
#include <algorithm>

#include "player/channel.h"
#include "player/effect_steps.h"
#include "player/mod_loader.h"
#include "player/playback.h"
#include "player/tracker_rules.h"

namespace {

bool IsNote(std::int32_t note) { return note >= 1 && note <= 96; }
constexpr std::int32_t KeyOffNote = 97;
// Fxx below this sets the speed, from it the tempo.
constexpr std::int32_t FirstTempo = 0x20;

// The frames a starting note skips: its cell's 9xx, or with 900 the last
// offset a note started at (heroes02.xm ends a run of falling offsets with
// 900). A 9xx without a note moves nothing (heroes03.xm).
std::int64_t StartOffset(TTarnXMChannel& channel) {
  if (static_cast<TTarnXMEffect>(channel.Effect) != TTarnXMEffect::SampleOffset) return 0;
  if (channel.EffectParameter != 0) channel.SampleOffset = channel.EffectParameter;
  return std::int64_t{channel.SampleOffset} * 256 << 32;
}

// E5x: a signed nibble in ProTracker, x - 8 in FastTracker 2; in 1/128
// semitones.
std::int32_t FineTuneOf(const TTarnXMSong& song, std::int32_t y) {
  return PlaysByProTrackerRules(song) ? MODFineTune(static_cast<std::uint8_t>(y)) : (y - 8) * 16;
}

void VolumeColumnFirstTick(TTarnXMChannel& channel) {
  const std::int32_t v = channel.VolumeColumn;
  const std::int32_t y = v % 16;
  if (v >= 0x10 && v <= 0x50) channel.Volume = v - 16;
  else if (v >= 0x80 && v <= 0x8F) Slide(channel.Volume, -y);
  else if (v >= 0x90 && v <= 0x9F) Slide(channel.Volume, y);
  else if (v >= 0xA0 && v <= 0xAF) channel.VibratoSpeed = y;
  // V0 keeps the depth and vibrates with it, as 400 does.
  else if (v >= 0xB0 && v <= 0xBF && y != 0) channel.VibratoDepth = y;
  else if (v >= 0xC0 && v <= 0xCF) channel.Panning = y * 16;
  // Mx is the effect 3 with parameter x0; M0 keeps the speed (TonePortamentoMemory.xm).
  else if (v >= 0xF1 && v <= 0xFF) channel.PortaSpeed = 16 * y;
}

// The period offset of x semitones above the channel's note.
std::int32_t ArpeggioOffset(const TTarnXMSong& song, const TTarnXMChannel& channel, std::int32_t x) {
  if (song.LinearFrequency) return -64 * x;
  return song.PeriodFromNote(channel.RealNote + x, channel.FineTune) -
         song.PeriodFromNote(channel.RealNote, channel.FineTune);
}

// FastTracker 2 holds the vibrato's offset through a row's first tick;
// ProTracker plays the plain note there (VibratoReset.mod).
void VibratoFirstTick(const TTarnXMSong& song, TTarnXMChannel& channel) {
  if (!PlaysByProTrackerRules(song)) channel.PeriodDelta += VibratoOffset(song, channel);
}

// E6y plays the loop's rows y + 1 times: the count starts at y and each
// later arrival takes one off (dreamfish-sanxion.mod's E61 plays twice).
void PatternLoop(TTarnXMPlayback& state, TTarnXMChannel& channel, std::int32_t y) {
  if (y == 0) {
    if (!channel.LoopActive) channel.LoopRow = state.Row;
  } else if (!channel.LoopActive) {
    channel.LoopCount = y;
    channel.LoopActive = true;
    state.RequestPatternLoop(channel.LoopRow);
  } else if (--channel.LoopCount != 0) {
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
      PortamentoSlide(song, channel, -4 * channel.FinePortaUpSpeed);
      break;
    case TTarnXMExtendedEffect::FinePortamentoDown:
      if (y) channel.FinePortaDownSpeed = y;
      PortamentoSlide(song, channel, 4 * channel.FinePortaDownSpeed);
      break;
    case TTarnXMExtendedEffect::Glissando: channel.Glissando = y != 0; break;
    case TTarnXMExtendedEffect::VibratoWaveform: channel.VibratoWaveform = y % 8; break;
    // It tunes the note the cell starts (finetune.xm).
    case TTarnXMExtendedEffect::SetFineTune:
      if (IsNote(channel.Note) && !IsTonePortamento(channel) && channel.Sample) {
        channel.FineTune = FineTuneOf(song, y);
        channel.PortaTarget = song.PeriodFromNote(channel.RealNote, channel.FineTune);
        channel.Period = channel.PortaTarget;
      }
      break;
    case TTarnXMExtendedEffect::PatternLoop: PatternLoop(context.State, channel, y); break;
    case TTarnXMExtendedEffect::TremoloWaveform: channel.TremoloWaveform = y % 8; break;
    // A retrigger restarts the playing sample on the first tick when the cell
    // has no note: E9x in ProTracker (PTRetrigger.mod), E90 alone in
    // FastTracker 2 (E90.xm).
    case TTarnXMExtendedEffect::Retrigger:
      if (!IsNote(channel.Note) && (y != 0) == PlaysByProTrackerRules(song)) channel.RetriggerSample(context);
      break;
    // EC0 cuts the note before it is heard.
    case TTarnXMExtendedEffect::NoteCut:
      if (y == 0) channel.Volume = 0;
      break;
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
  // ProTracker has no memory for slides: 00 slides by nothing
  // (fridge-in-space_from_reg-zbb.mod's A00, mon-lapin_reg-zbb.mod's 100).
  const bool protracker = PlaysByProTrackerRules(context.Song);
  switch (static_cast<TTarnXMEffect>(channel.Effect)) {
    case TTarnXMEffect::Arpeggio:
      if (p) channel.Arpeggio = {0, ArpeggioOffset(context.Song, channel, x), ArpeggioOffset(context.Song, channel, y)};
      break;
    case TTarnXMEffect::PortamentoUp:
      if (p || protracker) channel.PortaUpSpeed = p;
      break;
    case TTarnXMEffect::PortamentoDown:
      if (p || protracker) channel.PortaDownSpeed = p;
      break;
    case TTarnXMEffect::TonePortamento:
      // Beside an Mx the parameter counts for nothing (TonePortamentoMemory.xm).
      if (p && channel.VolumeColumn < 0xF0) channel.PortaSpeed = p;
      break;
    case TTarnXMEffect::Vibrato:
      if (x) channel.VibratoSpeed = x;
      if (y) channel.VibratoDepth = y;
      VibratoFirstTick(context.Song, channel);
      break;
    case TTarnXMEffect::TonePortamentoVolumeSlide:
      if (p || protracker) channel.VolumeSlide = SlideRate(p);
      break;
    case TTarnXMEffect::VibratoVolumeSlide:
      if (p || protracker) channel.VolumeSlide = SlideRate(p);
      VibratoFirstTick(context.Song, channel);
      break;
    case TTarnXMEffect::Tremolo:
      if (x) channel.TremoloSpeed = x;
      if (y) channel.TremoloDepth = y;
      // FastTracker 2 holds the tremolo's volume over a row's first tick,
      // ProTracker drops it (VibratoReset.mod).
      if (!protracker && !IsNote(channel.Note)) channel.VolumeDelta += channel.TremoloOffset;
      break;
    case TTarnXMEffect::SetPanning: channel.Panning = p; break;
    case TTarnXMEffect::VolumeSlide:
      if (p || protracker) channel.VolumeSlide = SlideRate(p);
      break;
    case TTarnXMEffect::PositionJump: state.RequestPositionJump(p); break;
    case TTarnXMEffect::SetVolume: channel.Volume = p; break;
    // The row is written in decimal, x * 10 + y (in-game-music-1_reg.mod's D32 is row 32).
    case TTarnXMEffect::PatternBreak: state.RequestPatternBreak(x * 10 + y); break;
    case TTarnXMEffect::Extended: ExtendedFirstTick(context, channel, x, y); break;
    case TTarnXMEffect::SetSpeedTempo:
      if (p < FirstTempo) state.Speed = static_cast<std::uint8_t>(p);
      else state.Tempo = static_cast<std::uint8_t>(p);
      break;
    case TTarnXMEffect::SetGlobalVolume: state.GlobalVolume = p; break;
    case TTarnXMEffect::GlobalVolumeSlide:
      if (p) channel.GlobalVolumeSlide = SlideRate(p);
      break;
    case TTarnXMEffect::KeyOff:
      if (p == 0) ReleaseKey(channel);
      break;
    case TTarnXMEffect::SetEnvelopePosition:
      channel.VolumeEnvelope.SetPosition(p);
      channel.PanningEnvelope.SetPosition(p);
      break;
    case TTarnXMEffect::PanningSlide:
      if (p) channel.PanningSlide = SlideRate(p);
      break;
    case TTarnXMEffect::FilterResonance:
      channel.FilterResonance = p;
      channel.FilterSetup(context, !channel.FilterActive);
      break;
    case TTarnXMEffect::MultiRetrigger:
      if (x) channel.RetrigVolumeChange = x;
      if (y) channel.RetrigInterval = y;
      break;
    case TTarnXMEffect::Tremor:
      if (p) {
        channel.TremorOnTime = x;
        channel.TremorOffTime = y;
      }
      TremorStep(channel, false);
      break;
    case TTarnXMEffect::ExtraFinePortamento: ExtraFine(channel, x, y); break;
    case TTarnXMEffect::MidiMacro:
    case TTarnXMEffect::SmoothMidiMacro: channel.RunMacro(context, channel.Effect, p); break;
    default: break;
  }
}

// Plays the sample from position on, handing the voice's last output to
// click removal.
void StartSample(TTarnXMTickContext& context, TTarnXMChannel& channel, std::int64_t position) {
  channel.Position = position;
  channel.Backwards = false;
  context.State.DeclickLeft += channel.LastLeft;
  context.State.DeclickRight += channel.LastRight;
  channel.LastLeft = 0;
  channel.LastRight = 0;
  channel.VolumeLeft = 0;
  channel.VolumeRight = 0;
  channel.RampLeft = 0;
  channel.RampRight = 0;
  channel.Active = true;
}

// The sample whose default volume an instrument number sets: ProTracker
// takes the named instrument's even without a note (PortaSwapPT.mod; the
// lone numbers of fridge-in-space_from_reg-zbb.mod), FastTracker 2 the
// playing sample's.
const TTarnXMSample* VolumeSource(const TTarnXMSong& song, const TTarnXMChannel& channel) {
  if (PlaysByProTrackerRules(song) && channel.Instrument) return channel.Instrument->Samples[0].get();
  return channel.Sample;
}

}  // namespace

void TTarnXMChannel::RetriggerSample(TTarnXMTickContext& context) {
  if (!Sample) return;
  StartSample(context, *this, 0);
  VolumeEnvelope.SetPosition(0);
  PanningEnvelope.SetPosition(0);
}

// A delayed note plays at its volume column's volume (DelayVolume.xm).
void TTarnXMChannel::StartCell(TTarnXMTickContext& context) {
  TriggerNote(context);
  VolumeColumnFirstTick(*this);
}

void TTarnXMChannel::TriggerNote(TTarnXMTickContext& context) {
  const bool portaNote = IsTonePortamento(*this);
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
      // The envelopes go on: only an instrument number restarts them
      // (heroes01.xm's notes without one).
      if (FilterOffOnNote) FilterActive = false;
      RestartWaveforms();
      Period = PortaTarget;
      StartSample(context, *this, StartOffset(*this));
      PlayingNote = Note;
    }
  }
  if (InstrumentNumber != 0 && Sample) {
    Active = true;
    PlayingInstrument = InstrumentNumber;
    const TTarnXMSample* source = VolumeSource(context.Song, *this);
    Volume = (source ? source : Sample)->Volume;
    if (Sample->UsePanning) Panning = Sample->Panning;
  }
  if (Note == KeyOffNote) ReleaseKey(*this);
}

void TTarnXMChannel::ProcessRow(TTarnXMTickContext& context) {
  const bool noteDelay = static_cast<TTarnXMEffect>(Effect) == TTarnXMEffect::Extended &&
                         static_cast<TTarnXMExtendedEffect>(EffectParameter >> 4) == TTarnXMExtendedEffect::NoteDelay &&
                         (EffectParameter & 15) != 0;
  PeriodDelta = 0;
  VolumeDelta = 0;
  if (!noteDelay) StartCell(context);
  EffectFirstTick(context, *this);
  GlissandoStep(context.Song, *this);
}

// ProTracker plays a repetition's first tick as the row's other ticks, with
// its count back at 0: the slides go on (mon-lapin_reg-zbb.mod's 202 beside
// an EE5), and the fine slides, which act at count 0, act again.
void TTarnXMChannel::RepeatRow(TTarnXMTickContext& context) {
  if (static_cast<TTarnXMEffect>(Effect) != TTarnXMEffect::Extended) {
    ProcessTick(context);
    return;
  }
  PeriodDelta = 0;
  VolumeDelta = 0;
  const std::int32_t x = EffectParameter >> 4;
  switch (static_cast<TTarnXMExtendedEffect>(x)) {
    case TTarnXMExtendedEffect::FinePortamentoUp:
    case TTarnXMExtendedEffect::FinePortamentoDown:
    case TTarnXMExtendedEffect::FineVolumeSlideUp:
    case TTarnXMExtendedEffect::FineVolumeSlideDown: ExtendedFirstTick(context, *this, x, EffectParameter & 15); break;
    default: break;
  }
}
