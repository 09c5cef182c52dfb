#pragma once
// One playback channel of the module: the state a row's cell and the effects
// drive, and that the mixer reads. The module creates 256 of them.
#include <array>
#include <cstdint>
#include <string>

#include "player/envelope_handler.h"

class TTarnXMModule;
class TTarnXMInstrument;
class TTarnXMSample;

class TTarnXMChannel {
 public:
  TTarnXMChannel(TTarnXMModule* module, std::int32_t index);
  TTarnXMChannel(const TTarnXMChannel&) = delete;
  TTarnXMChannel& operator=(const TTarnXMChannel&) = delete;

  // Back to silence: the voice, the sample and instrument, the panning, the
  // gains, the cell and the filter.
  void Reset();
  // Silences the voice and restarts its per-note state.
  void ResetVoice();

  // Row and tick processing, called by the sequencer.
  void TriggerNote();
  void ProcessRow();
  void ProcessTick();
  // Once per tick after the effects: envelopes, fade-out, auto-vibrato, the
  // final volume and panning, the gains and their ramp, the sample step.
  void Update();

  // MIDI macros and the resonant filter.
  void RunMacro(std::int32_t effect, std::int32_t parameter);
  void ExecuteMacro(std::int32_t macro, std::int32_t value, bool smooth);
  void FilterSetup(bool clearHistory);
  std::int32_t CutoffToFrequency(std::int32_t cutoff, std::int32_t modifier) const;

  std::string Name;
  bool Active = false;
  TTarnXMModule* Module;
  std::int32_t Index;
  std::uint32_t EffectSlot = 0;  // from the channel-effect chunk; kept, not played
  TTarnXMSample* Sample = nullptr;
  TTarnXMInstrument* Instrument = nullptr;
  std::uint64_t Increment = 0;    // 32.32 step per output frame
  std::int64_t MixIncrement = 0;  // Increment with the direction applied
  std::int64_t Position = 0;      // 32.32 frame position in the sample
  bool Backwards = false;
  std::int32_t FinalVolume = 0;
  std::int32_t FinalPanning = 0;
  std::int32_t Frequency = 0;
  std::int32_t EnvelopeVolume = 64;
  std::int32_t EnvelopePanning = 32;
  TTarnXMEnvelopeHandler VolumeEnvelope;
  TTarnXMEnvelopeHandler PanningEnvelope;

  // The current note cell.
  std::int32_t Note = 0;
  std::int32_t InstrumentNumber = 0;
  std::int32_t VolumeColumn = 0;
  std::int32_t Effect = 0;
  std::int32_t EffectParameter = 0;

  std::int32_t Tick = 0;
  std::int32_t VibratoWaveform = 0;
  std::int32_t VibratoSpeed = 0;
  std::int32_t VibratoDepth = 0;
  std::int32_t VibratoPosition = 0;
  std::int32_t TremoloSpeed = 0;
  std::int32_t TremoloDepth = 0;
  std::int32_t TremoloPosition = 0;
  std::int32_t TremorCounter = 0;
  std::int32_t TremorOnTime = 0;
  std::int32_t TremorOffTime = 0;
  std::int32_t AutoVibratoSweep = 0;
  std::int32_t AutoVibratoPosition = 0;
  std::int32_t RetrigVolumeChange = 0;
  std::int32_t RetrigInterval = 0;
  std::int32_t Period = 0;
  std::array<std::int32_t, 3> Arpeggio{};
  std::int32_t PeriodDelta = 0;
  std::int32_t PortaTarget = 0;
  std::int32_t Volume = 0;
  std::int32_t DefaultPanning = 128;  // restored by Reset; set by the loaders
  std::int32_t Panning = 128;
  std::int32_t FadeOutVolume = 65536;
  std::int32_t VolumeSlide = 0;
  std::int32_t GlobalVolumeSlide = 0;
  std::int32_t PortaSpeed = 0;
  std::int32_t PortaUpSpeed = 0;
  std::int32_t PortaDownSpeed = 0;
  std::int32_t FinePortaUpSpeed = 0;
  std::int32_t FinePortaDownSpeed = 0;
  std::int32_t ExtraFinePortaUpSpeed = 0;
  std::int32_t ExtraFinePortaDownSpeed = 0;
  std::int32_t FineVolumeUpSpeed = 0;
  std::int32_t FineVolumeDownSpeed = 0;
  std::int32_t PanningSlide = 0;
  std::int32_t VolumeDelta = 0;
  bool Glissando = false;
  std::int32_t TremoloWaveform = 0;
  std::int32_t FineTune = 0;
  bool KeyOff = false;
  std::int32_t LoopRow = 0;
  std::int32_t LoopCount = 0;
  bool LoopActive = false;

  std::int64_t LastLeft = 0;  // the last mixed frame's contribution, for click removal
  std::int64_t LastRight = 0;
  std::int32_t VolumeLeft = 0;
  std::int32_t VolumeRight = 0;
  std::int32_t RampLeft = 0;
  std::int32_t RampRight = 0;
  std::int32_t RampTargetLeft = 0;
  std::int32_t RampTargetRight = 0;
  std::int32_t RampStepLeft = 0;
  std::int32_t RampStepRight = 0;
  std::int32_t RampSamples = 0;
  std::int32_t RealNote = 0;

  std::int32_t FilterCutoff = 127;
  std::int32_t FilterResonance = 0;
  std::int32_t ActiveMacro = 0;
  bool FilterActive = false;
  std::int32_t FilterMode = 0;
  std::int32_t FilterA0 = 0;
  std::int32_t FilterB0 = 0;
  std::int32_t FilterB1 = 0;
  std::array<std::int32_t, 4> FilterHistory{};  // left y1, y2, right y1, y2
  float MacroStart = 0.0f;
  float MacroStep = 0.0f;
  bool Surround = false;
  bool FilterOffOnNote = false;
};
