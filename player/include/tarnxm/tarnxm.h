#pragma once
// tarnxm: XM and MOD modules loaded, sequenced with their effects and mixed
// into the caller's buffers. No device, no thread, no output of its own.
//
//   TTarnXMLoad load = LoadModuleFile("song.xm");
//   if (!load) fail(load.Error);
//   TTarnXMRenderer renderer(load.Song);          // 44100 Hz stereo, once through
//   std::int16_t buffer[2 * 1024];
//   while (std::size_t frames = renderer.Render(buffer, 1024)) write(buffer, frames);
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A loaded song: shared between renderers, never changed after loading.
class TTarnXMSong;

enum class TTarnXMFormat { None, XM, MOD };
enum class TTarnXMInterpolation : std::uint8_t { None, Linear, Cubic, Sinc };
// What happens when the song has come round as often as asked: the render
// ends there, fades out over the fade time and ends, or goes on for ever.
enum class TTarnXMEndAction { Stop, FadeOut, Loop };

// ---- Loading and probing ------------------------------------------------

// A song, or the reason there is none ("truncated pattern header", ...).
struct TTarnXMLoad {
  std::shared_ptr<const TTarnXMSong> Song;
  std::string Error;
  explicit operator bool() const { return Song != nullptr; }
};

TTarnXMLoad LoadModule(const void* data, std::size_t size);
// Reads the file whole; files above 256 MiB are refused.
TTarnXMLoad LoadModuleFile(const std::string& path);

// What the first bytes say, without loading any sample.
struct TTarnXMProbe {
  TTarnXMFormat Format = TTarnXMFormat::None;
  std::string FormatName;  // "XM", "MOD"
  std::string Title;
  std::int32_t Channels = 0;
};
// None when no format takes the data.
std::optional<TTarnXMProbe> ProbeModule(const void* data, std::size_t size);

// ---- What a song holds --------------------------------------------------

struct TTarnXMSongInfo {
  TTarnXMFormat Format = TTarnXMFormat::None;
  std::string FormatName;
  std::uint16_t FormatVersion = 0;  // XM only
  std::string Signature;            // MOD only; empty in the 15-sample form
  std::string Title;
  std::string Comment;
  std::int32_t Channels = 0;
  std::int32_t Patterns = 0;
  std::int32_t RestartPosition = 0;
  std::int32_t InitialSpeed = 6;
  std::int32_t InitialTempo = 125;
  bool LinearFrequency = true;
  bool ExtendedFilterRange = false;
  std::vector<std::int32_t> Orders;       // pattern number of each order
  std::vector<std::string> PatternNames;  // one per pattern held, "" where unnamed
  // The MIDI macro table, 153 entries (9 global, 16 parametered, 128 fixed),
  // and whether the file gave it or it is the defaults.
  std::vector<std::string> Macros;
  bool MacrosFromFile = false;
  std::vector<std::string> InstrumentNames;     // instrument n at n - 1; "" where absent
  std::vector<std::int32_t> InstrumentSamples;  // samples each instrument holds
  std::vector<std::string> ChannelNames;        // one per channel, "" where unnamed
};
TTarnXMSongInfo DescribeSong(const TTarnXMSong& song);

struct TTarnXMEnvelopeInfo {
  bool Enabled = false;
  std::vector<std::pair<std::int32_t, std::int32_t>> Points;  // (tick, value)
  bool SustainEnabled = false;
  std::int32_t SustainPoint = 0;
  bool LoopEnabled = false;
  std::int32_t LoopStart = 0;
  std::int32_t LoopEnd = 0;
};

struct TTarnXMSampleInfo {
  std::int32_t Index = 0;  // the slot in its instrument, 0..255
  std::string Name;
  std::int32_t Length = 0;  // frames
  std::int32_t Bits = 8;
  std::int32_t Channels = 1;
  bool ADPCM = false;
  bool Loop = false;
  bool PingPong = false;
  std::int32_t LoopStart = 0;
  std::int32_t LoopLength = 0;
  std::int32_t Volume = 64;
  bool UsePanning = true;
  std::int32_t Panning = 128;
  std::int32_t RelativeNote = 0;
  std::int32_t FineTune = 0;
};

struct TTarnXMInstrumentInfo {
  std::int32_t Number = 0;  // 1..255
  std::string Name;
  std::int32_t FadeOut = 0;
  TTarnXMEnvelopeInfo VolumeEnvelope;
  TTarnXMEnvelopeInfo PanningEnvelope;
  std::int32_t VibratoType = 0;
  std::int32_t VibratoDepth = 0;
  std::int32_t VibratoRate = 0;
  std::int32_t VibratoSweep = 0;
  std::vector<TTarnXMSampleInfo> Samples;  // the slots that hold a sample, in order
  std::vector<std::int32_t> SampleMap;     // the sample slot of each note 1..96, at note - 1
};

// Every instrument the song holds, in number order, with its envelopes,
// auto-vibrato and samples.
std::vector<TTarnXMInstrumentInfo> DescribeInstruments(const TTarnXMSong& song);

// A sample's values at 16-bit scale (8-bit sources times 256), left and
// right interleaved for a stereo sample; empty for a slot that holds none.
std::vector<std::int32_t> SampleValues(const TTarnXMSong& song, std::int32_t instrument, std::int32_t slot);

// The effect column's commands by name, numbered as XM files store them
// (digits 0-9, then the letters A-Z from 10); MOD effects 0-F are the same.
enum class TTarnXMEffect : std::uint8_t {
  Arpeggio = 0x00,
  PortamentoUp = 0x01,
  PortamentoDown = 0x02,
  TonePortamento = 0x03,
  Vibrato = 0x04,
  TonePortamentoVolumeSlide = 0x05,
  VibratoVolumeSlide = 0x06,
  Tremolo = 0x07,
  SetPanning = 0x08,
  SampleOffset = 0x09,
  VolumeSlide = 0x0A,
  PositionJump = 0x0B,
  SetVolume = 0x0C,
  PatternBreak = 0x0D,
  Extended = 0x0E,  // E: the sub-command in the parameter's high nibble
  SetSpeedTempo = 0x0F,
  SetGlobalVolume = 0x10,      // G
  GlobalVolumeSlide = 0x11,    // H
  KeyOff = 0x14,               // K
  SetEnvelopePosition = 0x15,  // L
  PanningSlide = 0x19,         // P
  FilterResonance = 0x1A,      // Q
  MultiRetrigger = 0x1B,       // R
  Tremor = 0x1D,               // T
  ExtraFinePortamento = 0x21,  // X: up (1) or down (2) in the high nibble
  MidiMacro = 0x23,            // Z
  SmoothMidiMacro = 0x25,      // a macro that slides to its value over the row
};

// The sub-commands of TTarnXMEffect::Extended, in the parameter's high nibble.
enum class TTarnXMExtendedEffect : std::uint8_t {
  FinePortamentoUp = 0x1,
  FinePortamentoDown = 0x2,
  Glissando = 0x3,
  VibratoWaveform = 0x4,
  SetFineTune = 0x5,
  PatternLoop = 0x6,
  TremoloWaveform = 0x7,
  Retrigger = 0x9,
  FineVolumeSlideUp = 0xA,
  FineVolumeSlideDown = 0xB,
  NoteCut = 0xC,
  NoteDelay = 0xD,
  PatternDelay = 0xE,
  SetActiveMacro = 0xF,
};

// One cell of a pattern, in the XM encoding whatever the format: note 1..96
// (49 = C-4), 97 key off, other values as the file stores them; volume column
// as stored; effect 0..35.
struct TTarnXMCell {
  std::int32_t Note = 0;
  std::int32_t Instrument = 0;
  std::int32_t VolumeColumn = 0;
  std::int32_t Effect = 0;
  std::int32_t Parameter = 0;
};
std::int32_t PatternRows(const TTarnXMSong& song, std::int32_t pattern);
// An empty cell outside the pattern.
TTarnXMCell PatternCell(const TTarnXMSong& song, std::int32_t pattern, std::int32_t row, std::int32_t channel);

// ---- Rendering ----------------------------------------------------------

struct TTarnXMRenderOptions {
  std::int32_t SampleRate = 44100;  // 1..1000000 (held within that)
  bool Stereo = true;
  TTarnXMInterpolation Interpolation = TTarnXMInterpolation::Sinc;
  bool Clipping = true;                 // 16-bit output clamps; without, it wraps
  std::int32_t MasterVolume = 128;      // 0..256, the engine's own mixing level
  double GainDb = 0;                    // applied to the mix
  std::int32_t StereoSeparation = 100;  // percent: 0 is mono in both channels
  std::int32_t Loops = 0;               // times the song comes round before the end action
  TTarnXMEndAction EndAction = TTarnXMEndAction::Stop;
  double FadeSeconds = 5;
};

// An entry point of the song and how long it plays from there.
struct TTarnXMSubsong {
  std::int32_t FirstOrder = 0;
  double Seconds = 0;
  bool Ends = true;  // false: it did not come round within the scan's limit
};

struct TTarnXMChannelState {
  bool Sounding = false;
  bool Muted = false;
  std::int32_t Note = 0;        // the last note started, 1..96
  std::int32_t Instrument = 0;  // its instrument number
  std::int32_t Volume = 0;      // 0..64
  std::int32_t Panning = 128;   // 0..255
  std::int32_t Frequency = 0;   // the rate the sample plays at, Hz
  float Level = 0;              // the channel's gain, 0..1, for meters
};

// The state at the frame about to be rendered.
struct TTarnXMFrameInfo {
  std::int32_t Order = 0;
  std::int32_t Row = 0;
  std::int32_t Pattern = 0;
  std::int32_t Speed = 6;
  std::int32_t Tempo = 125;
  std::int32_t GlobalVolume = 64;
  std::int64_t Frame = 0;  // frames rendered since the start of the subsong
  double Seconds = 0;
  std::int32_t LoopCount = 0;  // times the song has come round
  std::int32_t ChannelsSounding = 0;
  bool Ended = false;
  std::vector<TTarnXMChannelState> Channels;
};

class TTarnXMRenderer {
 public:
  explicit TTarnXMRenderer(std::shared_ptr<const TTarnXMSong> song = nullptr, const TTarnXMRenderOptions& options = {});
  ~TTarnXMRenderer();
  TTarnXMRenderer(TTarnXMRenderer&&) noexcept;
  TTarnXMRenderer& operator=(TTarnXMRenderer&&) noexcept;

  // A new song (none: silence), played from its first subsong.
  void SetSong(std::shared_ptr<const TTarnXMSong> song);
  const std::shared_ptr<const TTarnXMSong>& Song() const;

  // Settings that take effect at the next frame. Rate and channels are fixed
  // at construction.
  const TTarnXMRenderOptions& Options() const;
  void SetInterpolation(TTarnXMInterpolation interpolation);
  void SetClipping(bool clipping);
  void SetMasterVolume(std::int32_t volume);
  void SetGain(double decibels);
  void SetStereoSeparation(std::int32_t percent);
  void SetLoops(std::int32_t loops, TTarnXMEndAction action);

  // Channels count from 0; out-of-range channels are ignored.
  void SetMuted(std::int32_t channel, bool muted);
  bool IsMuted(std::int32_t channel) const;
  // Mutes every channel but this one.
  void Solo(std::int32_t channel);
  void UnmuteAll();

  // Back to the start of the current subsong.
  void Rewind();
  // Interleaved frames (two values each in stereo). Returns the frames
  // written: fewer than asked only where the song ended. Nothing is written
  // to a null or empty buffer.
  std::size_t Render(std::int16_t* out, std::size_t frames);
  // Full scale is 1.0; nothing is clipped.
  std::size_t Render(float* out, std::size_t frames);
  bool Ended() const;

  // To the tick that holds this time of the subsong, with everything a
  // listener would have heard up to it: what follows sounds as it would have
  // without the seek. A time past the end lands at the end (Ended() says so);
  // a negative one at the start. Returns the time landed on.
  double SeekTime(double seconds);
  // To the first time the row starts; false with the reason when the order
  // or row does not exist.
  bool SeekOrder(std::int32_t order, std::int32_t row, std::string* reason = nullptr);

  // Entry points that playback from order 0 never reaches, found by a scan;
  // subsong 0 starts at order 0.
  const std::vector<TTarnXMSubsong>& Subsongs();
  // Rewinds to that subsong's start; false with the reason for an index out
  // of range.
  bool SelectSubsong(std::int32_t index, std::string* reason = nullptr);
  std::int32_t CurrentSubsong() const;

  TTarnXMFrameInfo Info() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
};
