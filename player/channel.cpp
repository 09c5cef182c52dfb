#include "player/channel.h"

#include <initializer_list>

void TTarnXMChannel::ResetVoice() {
  Active = false;
  for (TTarnXMEnvelopeHandler* handler : {&VolumeEnvelope, &PanningEnvelope}) {
    handler->Envelope = nullptr;
    handler->SetPosition(0);
    handler->KeyOn = true;
  }
  KeyOff = false;
  AutoVibratoSweep = 0;
  AutoVibratoPosition = 0;
  TremorCounter = 0;
  FadeOutVolume = 65536;
}

void TTarnXMChannel::RestartWaveforms() {
  // Waveforms 4..7 keep their position from note to note.
  if (VibratoWaveform < 4) VibratoPosition = 0;
  if (TremoloWaveform < 4) TremoloPosition = 0;
}

void TTarnXMChannel::Reset(std::int32_t defaultPanning) {
  ResetVoice();
  RestartWaveforms();
  Sample = nullptr;
  Instrument = nullptr;
  Panning = defaultPanning;
  LastLeft = 0;
  LastRight = 0;
  VolumeLeft = 0;
  VolumeRight = 0;
  RampLeft = 0;
  RampRight = 0;
  RampTargetLeft = 0;
  RampTargetRight = 0;
  RampStepLeft = 0;
  RampStepRight = 0;
  RealNote = 0;
  PlayingNote = 0;
  PlayingInstrument = 0;
  Note = 0;
  InstrumentNumber = 0;
  VolumeColumn = 0;
  Effect = 0;
  EffectParameter = 0;
  FilterCutoff = 127;
  FilterResonance = 0;
  ActiveMacro = 0;
  FilterActive = false;
  FilterMode = 0;
  Surround = false;
  FilterOffOnNote = false;
}
