#pragma once
// One playback channel: the state a row's cell and the effects drive, and
// that the mixer reads. It is part of the playback state, a plain value;
// what it needs of the song, the rest of the state and the render settings
// comes in with each call.
#include <array>
#include <cstdint>

#include "player/envelope_handler.h"

class TTarnXMInstrument;
class TTarnXMSample;
struct TTarnXMTickContext;

class TTarnXMChannel {
 public:
  // Back to silence: the voice, the sample and instrument, the panning (to
  // defaultPanning), the gains, the cell and the filter.
  void Reset(std::int32_t defaultPanning = 128);
  // Silences the voice and restarts its per-note state.
  void ResetVoice();
  // Vibrato and tremolo from the start of their waveforms: a new note does
  // this, an instrument number alone does not (dreamfish-uridium2_loader.mod
  // sets its instrument again on rows that go on vibrating).
  void RestartWaveforms();

  // Row and tick processing, called by the sequencer.
  void TriggerNote(TTarnXMTickContext& context);
  // The cell's note and instrument, then its volume column: on the row's
  // first tick, or on the tick a note delay names.
  void StartCell(TTarnXMTickContext& context);
  // Starts the playing sample and its envelopes again from the beginning.
  void RetriggerSample(TTarnXMTickContext& context);
  void ProcessRow(TTarnXMTickContext& context);
  void ProcessTick(TTarnXMTickContext& context);
  // The first tick of a pattern delay's repetition of the row, by
  // ProTracker's rules: the other ticks' effects run, and the fine slides act
  // again.
  void RepeatRow(TTarnXMTickContext& context);
  // Once per tick after the effects: envelopes, fade-out, auto-vibrato, the
  // final volume and panning, the gains and their ramp, the sample step.
  void Update(TTarnXMTickContext& context);

  // MIDI macros and the resonant filter.
  void RunMacro(const TTarnXMTickContext& context, std::int32_t effect, std::int32_t parameter);
  void ExecuteMacro(const TTarnXMTickContext& context, std::int32_t macro, std::int32_t value, bool smooth);
  void FilterSetup(const TTarnXMTickContext& context, bool clearHistory);
  std::int32_t CutoffToFrequency(const TTarnXMTickContext& context, std::int32_t cutoff, std::int32_t modifier) const;

  bool Active = false;
  const TTarnXMSample* Sample = nullptr;  // in the song, as is Instrument
  const TTarnXMInstrument* Instrument = nullptr;
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

  std::int32_t Tick = 0;  // in the row, counted from 0 again on each repetition of a pattern delay
  std::int32_t VibratoWaveform = 0;
  std::int32_t VibratoSpeed = 0;
  std::int32_t VibratoDepth = 0;
  std::int32_t VibratoPosition = 0;
  std::int32_t TremoloSpeed = 0;
  std::int32_t TremoloDepth = 0;
  std::int32_t TremoloPosition = 0;
  std::int32_t TremoloOffset = 0;  // the volume offset of the tremolo's last step
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
  std::int32_t SampleOffset = 0;  // the last offset a note started at, in 256 frames
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
  // The note and instrument number last started, for whoever shows them.
  std::int32_t PlayingNote = 0;
  std::int32_t PlayingInstrument = 0;

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
