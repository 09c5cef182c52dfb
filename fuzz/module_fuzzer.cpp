// Any bytes as an XM or MOD module, through the engine's public header: the
// load gives a song or a reason and the probe agrees on its format; the
// description, the instruments and every pattern's cells hold what the header
// promises; and a song that loads is rendered a little through every
// interpolation, muted, soloed, narrowed and amplified, into 16-bit and float
// buffers, while a second renderer seeks it to hostile times, orders and rows
// and plays it from its subsongs.
//
// Each run plays only as much as reaches new code: a few ticks per
// interpolation at a low rate, where the steps through the samples are large
// and reach their ends and loops soon, and a few frames per setting of the
// mix. The seeking renderer plays at one frame a second, where every tick is
// one frame: its scans of the song give up after 3600 ticks, and its seeks
// mix no more than they scan.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/input_limits.h"
#include "tarnxm/tarnxm.h"

namespace {

// Volume ramps of 2 frames, and ticks of 20 at the default tempo.
constexpr std::int32_t Rate = 1000;
constexpr std::int32_t SeekingRate = 1;
constexpr std::size_t Chunk = 1024;
constexpr std::size_t FramesPerInterpolation = 256;
constexpr std::size_t FramesPerSetting = 24;
constexpr std::size_t FramesAfterSeek = 8;
constexpr std::int32_t MaxSubsongsPlayed = 3;
// Cells are stored for the first 256 rows of a pattern; past them all are
// empty, so the check stops a little beyond.
constexpr std::int32_t MaxRowsChecked = 260;
constexpr std::int64_t MaxCellsChecked = 65536;

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

void Check(bool promise) {
  if (!promise) std::abort();
}

bool Empty(const TTarnXMCell& cell) {
  return cell.Note == 0 && cell.Instrument == 0 && cell.VolumeColumn == 0 && cell.Effect == 0 && cell.Parameter == 0;
}

bool Byte(std::int32_t value) { return value >= 0 && value <= 255; }

void CheckDescription(const TTarnXMSongInfo& info) {
  Check(info.Channels >= 0 && info.Channels <= 256);
  Check(info.ChannelNames.size() == static_cast<std::size_t>(info.Channels));
  Check(info.Patterns >= 0 && info.Patterns <= 256);
  Check(info.Orders.size() <= 256);
  for (const std::int32_t pattern : info.Orders) Check(Byte(pattern));
  Check(info.RestartPosition == 0 || info.RestartPosition < static_cast<std::int32_t>(info.Orders.size()));
  Check(info.InstrumentNames.size() == info.InstrumentSamples.size() && info.InstrumentNames.size() <= 255);
  for (const std::int32_t samples : info.InstrumentSamples) Check(samples >= 0 && samples <= 256);
}

// Instruments in number order, samples in slot order, each sample's values
// as many as its frames and channels, and its loop inside it.
void CheckInstruments(const TTarnXMSong& song) {
  std::int32_t number = 0;
  for (const TTarnXMInstrumentInfo& instrument : DescribeInstruments(song)) {
    Check(instrument.Number > number && instrument.Number <= 255 && instrument.SampleMap.size() == 96);
    number = instrument.Number;
    std::int32_t slot = -1;
    for (const TTarnXMSampleInfo& sample : instrument.Samples) {
      Check(sample.Index > slot && sample.Index <= 255);
      slot = sample.Index;
      Check(sample.Length >= 0 && (sample.Channels == 1 || sample.Channels == 2));
      const std::size_t values = SampleValues(song, number, slot).size();
      Check(values == static_cast<std::size_t>(sample.Length) * static_cast<std::size_t>(sample.Channels));
      Check(!sample.Loop || (sample.LoopStart >= 0 && sample.LoopLength > 0 &&
                             std::int64_t{sample.LoopStart} + sample.LoopLength <= sample.Length));
    }
    for (const std::int32_t outside : {-1, 256}) Check(SampleValues(song, number, outside).empty());
  }
  Check(SampleValues(song, 0, 0).empty() && SampleValues(song, 256, 0).empty());
}

// Every pattern, with a pattern, a row and a channel before its cells and a
// pattern and a row after them; a pattern without rows has no cells. Cells
// are read in order while the budget lasts: a header may promise 256
// patterns of 256 rows of 255 channels.
void CheckPatterns(const TTarnXMSong& song, const TTarnXMSongInfo& info) {
  std::int64_t budget = MaxCellsChecked;
  for (std::int32_t pattern = -1; pattern <= 256; ++pattern) {
    const std::int32_t rows = PatternRows(song, pattern);
    Check(rows >= 0 && (rows == 0 || (pattern >= 0 && pattern < 256)));
    if (rows == 0) {
      Check(Empty(PatternCell(song, pattern, 0, 0)));
      continue;
    }
    for (std::int32_t row = -1; row <= std::min(rows, MaxRowsChecked) && budget > 0; ++row)
      for (std::int32_t channel = -1; channel < info.Channels; ++channel, --budget) {
        const TTarnXMCell cell = PatternCell(song, pattern, row, channel);
        const bool outside = row < 0 || row >= rows || channel < 0;
        Check(outside ? Empty(cell)
                      : Byte(cell.Note) && Byte(cell.Instrument) && Byte(cell.VolumeColumn) && Byte(cell.Effect) &&
                            Byte(cell.Parameter));
      }
  }
}

void CheckFrameInfo(const TTarnXMRenderer& renderer, std::int32_t channels) {
  const TTarnXMFrameInfo info = renderer.Info();
  Check(info.Channels.size() == static_cast<std::size_t>(channels));
  Check(info.Frame >= 0 && info.Seconds >= 0 && info.Ended == renderer.Ended());
  std::int32_t sounding = 0;
  for (std::int32_t c = 0; c < channels; ++c) {
    const TTarnXMChannelState& channel = info.Channels[static_cast<std::size_t>(c)];
    Check(channel.Muted == renderer.IsMuted(c));
    Check(channel.Volume >= 0 && channel.Volume <= 64 && Byte(channel.Panning));
    Check(channel.Level >= 0 && channel.Level <= 1);
    sounding += channel.Sounding ? 1 : 0;
  }
  Check(info.ChannelsSounding == sounding);
}

// Up to a chunk, as 16-bit or float output: never more than asked, fewer
// only where the song ended, and every float finite.
std::size_t RenderFrames(TTarnXMRenderer& renderer, bool asFloat, std::size_t frames) {
  static std::vector<std::int16_t> pcm(2 * Chunk);
  static std::vector<float> floats(2 * Chunk);
  const std::size_t rendered = asFloat ? renderer.Render(floats.data(), frames) : renderer.Render(pcm.data(), frames);
  Check(rendered <= frames && (rendered == frames || renderer.Ended()));
  if (asFloat)
    for (std::size_t k = 0; k < 2 * rendered; ++k) Check(std::isfinite(floats[k]));
  return rendered;
}

// Each interpolation in turn, each with its own way of ending: on from where
// the last one stopped, unless the song ended there, and the last one from
// the start again.
void RenderEveryInterpolation(TTarnXMRenderer& renderer) {
  struct TPass {
    TTarnXMInterpolation Interpolation;
    std::int32_t Loops;
    TTarnXMEndAction End;
    bool FromTheStart;
  };
  for (const TPass pass : {TPass{TTarnXMInterpolation::None, 0, TTarnXMEndAction::Stop, false},
                           TPass{TTarnXMInterpolation::Linear, 1, TTarnXMEndAction::FadeOut, false},
                           TPass{TTarnXMInterpolation::Cubic, 0, TTarnXMEndAction::Loop, false},
                           TPass{TTarnXMInterpolation::Sinc, -1, TTarnXMEndAction::Stop, true}}) {
    renderer.SetInterpolation(pass.Interpolation);
    renderer.SetLoops(pass.Loops, pass.End);
    if (pass.FromTheStart || renderer.Ended()) renderer.Rewind();
    RenderFrames(renderer, pass.Interpolation == TTarnXMInterpolation::Cubic, FramesPerInterpolation);
  }
  Check(renderer.Render(static_cast<std::int16_t*>(nullptr), Chunk) == 0);
  Check(renderer.Render(static_cast<float*>(nullptr), Chunk) == 0);
  renderer.SetLoops(0, TTarnXMEndAction::Stop);
}

// Order and row pairs that do not exist are refused with a reason.
void CheckRefusedRows(TTarnXMRenderer& renderer, const TTarnXMSongInfo& info) {
  const auto orders = static_cast<std::int32_t>(info.Orders.size());
  const std::int32_t rows = orders > 0 ? PatternRows(*renderer.Song(), info.Orders[0]) : 0;
  const std::int32_t huge = std::numeric_limits<std::int32_t>::max();
  const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
  for (const auto& [order, row] : {std::pair{-1, 0}, std::pair{orders, 0}, std::pair{huge, 0}, std::pair{lowest, 0},
                                   std::pair{0, -1}, std::pair{0, rows}, std::pair{0, huge}}) {
    std::string reason;
    Check(!renderer.SeekOrder(order, row, &reason) && !reason.empty());
  }
}

// To the second row (back from the end where the song ends), or straight to
// it where the song never plays it. One seek close to the start is enough:
// every seek scans the song from its start, and the seeks past the end have
// played it whole.
void SeekRow(TTarnXMRenderer& renderer, const TTarnXMSongInfo& info) {
  const std::int32_t rows = info.Orders.empty() ? 0 : PatternRows(*renderer.Song(), info.Orders[0]);
  if (rows == 0) return;
  Check(renderer.SeekOrder(0, std::min(rows - 1, 1)));
  RenderFrames(renderer, true, FramesAfterSeek);
}

void SeekNearTheStart(TTarnXMRenderer& renderer) {
  for (const double before : {-1.0, -1e300, -Infinity, NotANumber}) Check(renderer.SeekTime(before) == 0);
  const double landed = renderer.SeekTime(0.05);
  Check(landed >= 0 && landed <= 0.05);
}

// Past the end, where the first subsong ends, and to a row.
void SeekEverywhere(TTarnXMRenderer& renderer, const TTarnXMSongInfo& info) {
  SeekNearTheStart(renderer);
  CheckRefusedRows(renderer, info);
  const TTarnXMSubsong subsong = renderer.Subsongs()[0];
  if (subsong.Ends)
    for (const double past : {subsong.Seconds + 1, 1e15, 1e300, Infinity}) {
      Check(std::abs(renderer.SeekTime(past) - subsong.Seconds) < 1e-9);
      Check(renderer.Ended());
      Check(RenderFrames(renderer, false, Chunk) == 0);
    }
  SeekRow(renderer, info);
}

void PlaySubsongs(TTarnXMRenderer& renderer, const TTarnXMSongInfo& info) {
  const std::vector<TTarnXMSubsong> subsongs = renderer.Subsongs();
  Check(!subsongs.empty() && subsongs[0].FirstOrder == 0);
  std::set<std::int32_t> firstOrders;
  for (const TTarnXMSubsong& subsong : subsongs) {
    Check(subsong.FirstOrder == 0 ||
          (subsong.FirstOrder > 0 && subsong.FirstOrder < static_cast<std::int32_t>(info.Orders.size())));
    Check(std::isfinite(subsong.Seconds) && subsong.Seconds >= 0);
    Check(firstOrders.insert(subsong.FirstOrder).second);
  }
  const auto count = static_cast<std::int32_t>(subsongs.size());
  for (std::int32_t index = 0; index < std::min(count, MaxSubsongsPlayed); ++index) {
    Check(renderer.SelectSubsong(index) && renderer.CurrentSubsong() == index);
    Check(renderer.Info().Frame == 0);
    RenderFrames(renderer, index % 2 != 0, FramesAfterSeek);
  }
  const std::int32_t current = renderer.CurrentSubsong();
  for (const std::int32_t index : {-1, count, std::numeric_limits<std::int32_t>::min()}) {
    std::string reason;
    Check(!renderer.SelectSubsong(index, &reason) && !reason.empty());
    Check(renderer.CurrentSubsong() == current);
  }
  Check(renderer.SelectSubsong(0));
}

void MuteAndSolo(TTarnXMRenderer& renderer, std::int32_t channels) {
  const std::int32_t last = std::max(channels - 1, 0);
  renderer.SetMuted(last, true);
  Check(renderer.IsMuted(last));
  for (const std::int32_t outside :
       {-1, 256, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
    renderer.SetMuted(outside, true);
    renderer.Solo(outside);
    Check(!renderer.IsMuted(outside) && renderer.IsMuted(last));
  }
  RenderFrames(renderer, false, FramesPerSetting);
  renderer.Solo(0);
  for (std::int32_t c = 0; c < channels; ++c) Check(renderer.IsMuted(c) == (c != 0));
  CheckFrameInfo(renderer, channels);
  RenderFrames(renderer, true, FramesPerSetting);
  renderer.UnmuteAll();
  for (std::int32_t c = 0; c < channels; ++c) Check(!renderer.IsMuted(c));
}

void ShapeTheMix(TTarnXMRenderer& renderer) {
  for (const std::int32_t percent : {-5, 0, 37, 100, 250}) {
    renderer.SetStereoSeparation(percent);
    Check(renderer.Options().StereoSeparation == std::clamp(percent, 0, 100));
    RenderFrames(renderer, percent % 2 != 0, FramesPerSetting);
  }
  for (const double decibels : {-1e9, -40.0, 12.0, 1e9, NotANumber, Infinity, 0.0}) {
    renderer.SetGain(decibels);
    Check(std::isfinite(renderer.Options().GainDb));
    RenderFrames(renderer, decibels < 0, FramesPerSetting);
  }
  for (const std::int32_t volume : {-1, 0, 300, 128}) {
    renderer.SetMasterVolume(volume);
    Check(renderer.Options().MasterVolume == std::clamp(volume, 0, 256));
  }
  renderer.SetClipping(false);
  RenderFrames(renderer, false, FramesPerSetting);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxModuleInputBytes) return 0;
  const TTarnXMLoad load = LoadModule(data, size);
  const std::optional<TTarnXMProbe> probe = ProbeModule(data, size);
  Check(load ? load.Error.empty() : !load.Error.empty());
  if (!load) return 0;
  const TTarnXMSongInfo info = DescribeSong(*load.Song);
  Check(probe && probe->Format == info.Format && probe->FormatName == info.FormatName);
  CheckDescription(info);
  CheckInstruments(*load.Song);
  CheckPatterns(*load.Song, info);

  TTarnXMRenderOptions options;
  options.SampleRate = Rate;
  TTarnXMRenderer renderer(load.Song, options);
  RenderEveryInterpolation(renderer);
  CheckFrameInfo(renderer, info.Channels);
  SeekNearTheStart(renderer);
  MuteAndSolo(renderer, info.Channels);
  ShapeTheMix(renderer);

  // The rate asked for is held within 1..1000000.
  options.SampleRate = -SeekingRate;
  options.Stereo = false;
  TTarnXMRenderer seeking(load.Song, options);
  Check(seeking.Options().SampleRate == SeekingRate);
  SeekEverywhere(seeking, info);
  PlaySubsongs(seeking, info);
  MuteAndSolo(seeking, info.Channels);
  seeking.SetSong(nullptr);
  Check(!seeking.Song());
  RenderFrames(seeking, true, Chunk);
  return 0;
}
