// The public renderer: the engine with loop counting and the end action,
// seeking, subsongs, channel muting, and the mix's separation, gain and fade
// applied on the way to the caller's buffer.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>

#include "player/engine.h"
#include "player/song_scan.h"
#include "tarnxm/tarnxm.h"

namespace {

constexpr std::size_t ChunkFrames = 1024;
constexpr std::int32_t LowestRate = 1;
constexpr std::int32_t HighestRate = 1000000;
// Full scale of the accumulators: a 16-bit value times 2048.
constexpr double FullScale = 32768.0 * 2048.0;

TTarnXMRenderSettings SettingsFor(const TTarnXMRenderOptions& options) {
  TTarnXMRenderSettings settings =
      TTarnXMRenderSettings::For(std::clamp(options.SampleRate, LowestRate, HighestRate), options.Stereo);
  settings.Interpolation = static_cast<std::uint8_t>(options.Interpolation);
  settings.Clipping = options.Clipping;
  settings.MasterVolume = std::clamp(options.MasterVolume, 0, 256);
  return settings;
}

void Convert(const std::int64_t* in, std::int16_t* out, std::size_t count, bool clipping) {
  ConvertToPcm16(in, out, count, clipping);
}

void Convert(const std::int64_t* in, float* out, std::size_t count, bool) {
  for (std::size_t k = 0; k < count; ++k) out[k] = static_cast<float>(static_cast<double>(in[k]) / FullScale);
}

}  // namespace

struct TTarnXMRenderer::TImpl {
  TTarnXMRenderOptions Options;
  TTarnXMEngine Engine;
  std::shared_ptr<const TTarnXMSong> Song;
  std::vector<std::int64_t> Accumulators;
  std::int32_t LoopCount = 0;
  bool Ended = false;
  std::int64_t FadeFrames = 0;
  std::int64_t FadeLeft = -1;  // frames of the fade still to play; -1 while not fading
  std::int32_t Subsong = 0;
  std::vector<TTarnXMSubsong> SubsongList;
  bool SubsongsFound = false;
  std::int32_t FirstOrder = 0;

  TImpl(std::shared_ptr<const TTarnXMSong> song, const TTarnXMRenderOptions& options)
      : Options(options), Engine(SettingsFor(options)), Accumulators(ChunkFrames * 2) {
    Options.SampleRate = Engine.Settings.SampleRate;
    Options.MasterVolume = Engine.Settings.MasterVolume;
    Options.StereoSeparation = std::clamp(Options.StereoSeparation, 0, 100);
    SetSong(std::move(song));
  }

  std::int32_t Channels() const { return Engine.Settings.OutputChannels; }
  std::int32_t Rate() const { return Engine.Settings.SampleRate; }

  void SetSong(std::shared_ptr<const TTarnXMSong> song) {
    Song = std::move(song);
    Engine.Module.SetSong(Song);
    SubsongList.clear();
    SubsongsFound = false;
    Subsong = 0;
    FirstOrder = 0;
    Rewind();
  }

  // A fresh start state at the current subsong's first order.
  void Rewind() {
    Engine.Rewind();
    TTarnXMPlayback& state = Engine.Module.State;
    state.OrderPosition = state.PlayingOrder = FirstOrder;
    state.CurrentPattern = Engine.Module.Song->Orders[static_cast<std::size_t>(FirstOrder)];
    LoopCount = 0;
    Ended = false;
    FadeLeft = -1;
  }

  // The song has come round: count it, and end, fade or go on.
  void SongCameRound() {
    Engine.Module.State.StartNewPass();
    LoopCount += 1;
    if (Options.EndAction == TTarnXMEndAction::Loop || Options.Loops < 0 || LoopCount <= Options.Loops) return;
    if (Options.EndAction == TTarnXMEndAction::Stop) {
      Ended = true;
    } else if (FadeLeft < 0) {
      FadeFrames = std::max<std::int64_t>(std::llround(Options.FadeSeconds * Rate()), 1);
      FadeLeft = FadeFrames;
    }
  }

  // Up to frames frames into the accumulators, fewer where the song comes
  // round, so that a fade starts on the frame after.
  std::int32_t Mix(std::int32_t frames) {
    const std::int32_t done = Engine.Render(Accumulators.data(), frames);
    if (Engine.Module.State.SongEnded) SongCameRound();
    return done;
  }

  // The fade over the frames just mixed: the song ends where it reaches 0.
  std::int32_t Fade(std::int32_t frames, bool apply) {
    const std::int32_t channels = Channels();
    for (std::int32_t f = 0; f < frames; ++f, --FadeLeft) {
      if (FadeLeft <= 0) {
        Ended = true;
        return f;
      }
      if (!apply) continue;
      const double gain = static_cast<double>(FadeLeft) / static_cast<double>(FadeFrames);
      for (std::int32_t c = 0; c < channels; ++c) {
        std::int64_t& value = Accumulators[std::size_t(f) * std::size_t(channels) + std::size_t(c)];
        value = std::llround(static_cast<double>(value) * gain);
      }
    }
    return frames;
  }

  void Shape(std::int32_t frames) {
    const std::int32_t channels = Channels();
    if (channels == 2 && Options.StereoSeparation < 100) {
      const std::int64_t separation = Options.StereoSeparation;
      for (std::int32_t f = 0; f < frames; ++f) {
        std::int64_t* frame = &Accumulators[2 * std::size_t(f)];
        const std::int64_t mid = (frame[0] + frame[1]) / 2;
        const std::int64_t side = (frame[0] - frame[1]) / 2 * separation / 100;
        frame[0] = mid + side;
        frame[1] = mid - side;
      }
    }
    if (Options.GainDb != 0) {
      const double gain = std::pow(10.0, Options.GainDb / 20.0);
      for (std::int64_t& value : std::span(Accumulators).first(std::size_t(frames) * std::size_t(channels)))
        value = std::llround(static_cast<double>(value) * gain);
    }
  }

  template <typename Sample>
  std::size_t Render(Sample* out, std::size_t frames) {
    if (!out) return 0;
    std::size_t done = 0;
    while (done < frames && !Ended) {
      const auto wanted = static_cast<std::int32_t>(std::min(frames - done, ChunkFrames));
      const bool fading = FadeLeft >= 0;
      std::int32_t mixed = Mix(wanted);
      if (fading) mixed = Fade(mixed, true);
      Shape(mixed);
      const std::size_t values = std::size_t(mixed) * std::size_t(Channels());
      Convert(Accumulators.data(), out + done * std::size_t(Channels()), values, Engine.Settings.Clipping);
      done += std::size_t(mixed);
    }
    return done;
  }

  // Plays on to frame target of the subsong (from the start when it lies
  // behind), hearing nothing.
  void SeekFrame(std::int64_t target) {
    if (target < Engine.Module.State.FramesPlayed) Rewind();
    while (!Ended && Engine.Module.State.FramesPlayed < target) {
      const std::int64_t left = target - Engine.Module.State.FramesPlayed;
      const bool fading = FadeLeft >= 0;
      const std::int32_t mixed = Mix(static_cast<std::int32_t>(std::min<std::int64_t>(left, ChunkFrames)));
      if (fading) Fade(mixed, false);
    }
  }

  void FindSubsongs() {
    if (SubsongsFound) return;
    SubsongsFound = true;
    const TTarnXMSong& song = *Engine.Module.Song;
    const std::int32_t orders = std::clamp(song.SongLength, 0, TTarnXMSong::MaxOrders);
    std::array<bool, TTarnXMSong::MaxOrders> visited{};
    std::int32_t first = 0;
    // One budget for all the scans, so that a file of many blocks of orders
    // that never end cannot make the search last for hours.
    std::int64_t budget = ScanBudgetSeconds * Rate();
    for (;;) {
      TTarnXMEngine scan(Engine.Settings);
      scan.Module.SetSong(Engine.Module.Song);
      scan.Rewind();
      scan.Module.State.OrderPosition = first;
      const TTarnXMScanResult result =
          ScanSong(scan, std::min(ScanLimitSeconds * Rate(), budget), [&visited](const TTarnXMPlayback& state) {
            if (state.PlayingOrder >= 0 && state.PlayingOrder < TTarnXMSong::MaxOrders)
              visited[std::size_t(state.PlayingOrder)] = true;
            return false;
          });
      SubsongList.push_back({first, static_cast<double>(result.Frames) / Rate(), result.Ended});
      budget -= result.Frames;
      if (budget <= 0) return;
      first = -1;
      for (std::int32_t order = 0; order < orders && first < 0; ++order)
        if (!visited[std::size_t(order)] && song.Patterns[song.Orders[std::size_t(order)]].Rows > 0) first = order;
      if (first < 0) return;
    }
  }
};

TTarnXMRenderer::TTarnXMRenderer(std::shared_ptr<const TTarnXMSong> song, const TTarnXMRenderOptions& options)
    : Impl(std::make_unique<TImpl>(std::move(song), options)) {}
TTarnXMRenderer::~TTarnXMRenderer() = default;
TTarnXMRenderer::TTarnXMRenderer(TTarnXMRenderer&&) noexcept = default;
TTarnXMRenderer& TTarnXMRenderer::operator=(TTarnXMRenderer&&) noexcept = default;

void TTarnXMRenderer::SetSong(std::shared_ptr<const TTarnXMSong> song) { Impl->SetSong(std::move(song)); }
const std::shared_ptr<const TTarnXMSong>& TTarnXMRenderer::Song() const { return Impl->Song; }
const TTarnXMRenderOptions& TTarnXMRenderer::Options() const { return Impl->Options; }

void TTarnXMRenderer::SetInterpolation(TTarnXMInterpolation interpolation) {
  Impl->Options.Interpolation = interpolation;
  Impl->Engine.Settings.Interpolation = static_cast<std::uint8_t>(interpolation);
}

void TTarnXMRenderer::SetClipping(bool clipping) {
  Impl->Options.Clipping = clipping;
  Impl->Engine.Settings.Clipping = clipping;
}

void TTarnXMRenderer::SetMasterVolume(std::int32_t volume) {
  Impl->Options.MasterVolume = Impl->Engine.Settings.MasterVolume = std::clamp(volume, 0, 256);
}

void TTarnXMRenderer::SetGain(double decibels) { Impl->Options.GainDb = std::isfinite(decibels) ? decibels : 0; }

void TTarnXMRenderer::SetStereoSeparation(std::int32_t percent) {
  Impl->Options.StereoSeparation = std::clamp(percent, 0, 100);
}

void TTarnXMRenderer::SetLoops(std::int32_t loops, TTarnXMEndAction action) {
  Impl->Options.Loops = loops;
  Impl->Options.EndAction = action;
}

void TTarnXMRenderer::SetMuted(std::int32_t channel, bool muted) {
  if (channel >= 0 && channel < TTarnXMSong::MaxChannels) Impl->Engine.Muted[std::size_t(channel)] = muted;
}

bool TTarnXMRenderer::IsMuted(std::int32_t channel) const {
  return channel >= 0 && channel < TTarnXMSong::MaxChannels && Impl->Engine.Muted[std::size_t(channel)];
}

void TTarnXMRenderer::Solo(std::int32_t channel) {
  if (channel < 0 || channel >= TTarnXMSong::MaxChannels) return;
  Impl->Engine.Muted.set();
  Impl->Engine.Muted[std::size_t(channel)] = false;
}

void TTarnXMRenderer::UnmuteAll() { Impl->Engine.Muted.reset(); }

void TTarnXMRenderer::Rewind() { Impl->Rewind(); }

std::size_t TTarnXMRenderer::Render(std::int16_t* out, std::size_t frames) { return Impl->Render(out, frames); }
std::size_t TTarnXMRenderer::Render(float* out, std::size_t frames) { return Impl->Render(out, frames); }
bool TTarnXMRenderer::Ended() const { return Impl->Ended; }

double TTarnXMRenderer::SeekTime(double seconds) {
  const double frames = std::isnan(seconds) ? 0 : seconds * Impl->Rate();
  Impl->SeekFrame(static_cast<std::int64_t>(std::clamp(frames, 0.0, 1e15)));
  return static_cast<double>(Impl->Engine.Module.State.FramesPlayed) / Impl->Rate();
}

bool TTarnXMRenderer::SeekOrder(std::int32_t order, std::int32_t row, std::string* reason) {
  const TTarnXMSong& song = *Impl->Engine.Module.Song;
  const auto refuse = [reason](std::string text) {
    if (reason) *reason = std::move(text);
    return false;
  };
  if (order < 0 || order >= std::clamp(song.SongLength, 0, TTarnXMSong::MaxOrders))
    return refuse("order " + std::to_string(order) + " does not exist (the song has " +
                  std::to_string(song.SongLength) + ")");
  const std::int32_t pattern = song.Orders[std::size_t(order)];
  if (row < 0 || row >= song.Patterns[std::size_t(pattern)].Rows)
    return refuse("row " + std::to_string(row) + " does not exist (pattern " + std::to_string(pattern) + " has " +
                  std::to_string(song.Patterns[std::size_t(pattern)].Rows) + " rows)");
  TTarnXMEngine scan(Impl->Engine.Settings);
  scan.Module.SetSong(Impl->Engine.Module.Song);
  scan.Rewind();
  scan.Module.State.OrderPosition = Impl->FirstOrder;
  const TTarnXMScanResult result = ScanSong(
      scan, ScanLimitSeconds * Impl->Rate(),
      [order, row](const TTarnXMPlayback& state) { return state.PlayingOrder == order && state.PlayingRow == row; });
  if (result.Stopped) {
    Impl->SeekFrame(result.Frames);
    return true;
  }
  // A row this subsong never plays: straight there from its start, as a
  // position jump would go.
  Impl->Rewind();
  TTarnXMPlayback& state = Impl->Engine.Module.State;
  state.OrderPosition = state.PlayingOrder = order;
  state.Row = state.PlayingRow = row;
  return true;
}

const std::vector<TTarnXMSubsong>& TTarnXMRenderer::Subsongs() {
  Impl->FindSubsongs();
  return Impl->SubsongList;
}

bool TTarnXMRenderer::SelectSubsong(std::int32_t index, std::string* reason) {
  const std::vector<TTarnXMSubsong>& subsongs = Subsongs();
  if (index < 0 || index >= static_cast<std::int32_t>(subsongs.size())) {
    if (reason)
      *reason =
          "subsong " + std::to_string(index) + " does not exist (the song has " + std::to_string(subsongs.size()) + ")";
    return false;
  }
  Impl->Subsong = index;
  Impl->FirstOrder = subsongs[std::size_t(index)].FirstOrder;
  Impl->Rewind();
  return true;
}

std::int32_t TTarnXMRenderer::CurrentSubsong() const { return Impl->Subsong; }

TTarnXMFrameInfo TTarnXMRenderer::Info() const {
  const TTarnXMPlayback& state = Impl->Engine.Module.State;
  TTarnXMFrameInfo info;
  info.Order = state.PlayingOrder;
  info.Row = state.PlayingRow;
  info.Pattern = state.CurrentPattern;
  info.Speed = state.Speed;
  info.Tempo = state.Tempo;
  info.GlobalVolume = state.GlobalVolume;
  info.Frame = state.FramesPlayed;
  info.Seconds = static_cast<double>(state.FramesPlayed) / Impl->Rate();
  info.LoopCount = Impl->LoopCount;
  info.Ended = Impl->Ended;
  const std::int32_t channels = Impl->Engine.Module.Song->PlayedChannels();
  for (std::int32_t c = 0; c < channels; ++c) {
    const TTarnXMChannel& channel = state.Channels[std::size_t(c)];
    TTarnXMChannelState& shown = info.Channels.emplace_back();
    shown.Sounding = channel.Active && channel.Sample && channel.FinalVolume > 0;
    shown.Muted = Impl->Engine.Muted[std::size_t(c)];
    shown.Note = channel.PlayingNote;
    shown.Instrument = channel.PlayingInstrument;
    shown.Volume = std::clamp(channel.Volume, 0, 64);
    shown.Panning = std::clamp(channel.FinalPanning, 0, 255);
    shown.Frequency = channel.Frequency;
    shown.Level = shown.Sounding ? std::clamp(static_cast<float>(channel.FinalVolume) / 4096.0f, 0.0f, 1.0f) : 0.0f;
    info.ChannelsSounding += shown.Sounding ? 1 : 0;
  }
  return info;
}
