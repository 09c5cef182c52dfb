#pragma once
// One playback channel of the module: the state a row's cell and the effects
// drive, and that the mixer reads. The module creates 256 of them.
#include <cstdint>
#include <string>

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

  std::string Name;
  bool Active = false;
  TTarnXMModule* Module;
  std::int32_t Index;
  std::uint32_t EffectSlot = 0;  // from the channel-effect chunk; kept, not played
  TTarnXMSample* Sample = nullptr;
  TTarnXMInstrument* Instrument = nullptr;

  // The current note cell.
  std::int32_t Note = 0;
  std::int32_t InstrumentNumber = 0;
  std::int32_t VolumeColumn = 0;
  std::int32_t Effect = 0;
  std::int32_t EffectParameter = 0;

  std::int32_t VibratoWaveform = 0;
  std::int32_t VibratoPosition = 0;
  std::int32_t TremoloWaveform = 0;
  std::int32_t TremoloPosition = 0;
  std::int32_t TremorCounter = 0;
  std::int32_t AutoVibratoSweep = 0;
  std::int32_t AutoVibratoPosition = 0;
  std::int32_t DefaultPanning = 128;  // restored by Reset; set by the loaders
  std::int32_t Panning = 128;
  std::int32_t FadeOutVolume = 65536;
  bool KeyOff = false;

  std::int32_t LastLeft = 0;
  std::int32_t LastRight = 0;
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
  bool Surround = false;
  bool FilterOffOnNote = false;
};
