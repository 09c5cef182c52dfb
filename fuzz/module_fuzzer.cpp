// Any bytes as an XM or MOD module, through the engine's public header: the
// load gives a song or a reason and the probe agrees on its format; the
// description and every pattern's cells hold what the header promises; and a
// song that loads is rendered a little through every interpolation, muted,
// soloed, narrowed and amplified, into 16-bit and float buffers, while a
// second renderer seeks it to hostile times and across its orders and rows
// and plays it from each subsong. A quarter of the intro's rate makes four
// times the runs, and the larger steps through the samples reach their ends
// and loops sooner. The seeking renderer plays at one frame a second, where
// every tick is one frame: a scan of the song, which gives up after an hour
// of frames, then gives up after 3600 ticks, and no seek mixes more.
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

#include "tarnxm/tarnxm.h"

namespace {

constexpr std::int32_t Rate = 11025;
constexpr std::int32_t SeekingRate = 1;
constexpr std::size_t Chunk = 1024;
constexpr std::size_t FramesPerInterpolation = Rate / 2;
// A seek by order and row may play the subsong through once: there are as
// many as fit this many ticks, and at most MaxOrderSeeks.
constexpr std::int64_t SeekBudget = 8192;
constexpr std::int64_t MaxOrderSeeks = 8;
constexpr std::size_t FramesAfterSeek = 16;
constexpr std::size_t MaxSubsongsPlayed = 8;
// Cells are stored for the first 256 rows of a pattern; past them all are
// empty, so the check stops a little beyond.
constexpr std::int32_t MaxRowsChecked = 260;

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

// Every pattern, with a pattern, a row and a channel before its cells and a
// pattern and a row after them.
void CheckPatterns(const TTarnXMSong& song, const TTarnXMSongInfo& info) {
  for (std::int32_t pattern = -1; pattern <= 256; ++pattern) {
    const std::int32_t rows = PatternRows(song, pattern);
    Check(rows >= 0 && (rows == 0 || (pattern >= 0 && pattern < 256)));
    for (std::int32_t row = -1; row <= std::min(rows, MaxRowsChecked); ++row)
      for (std::int32_t channel = -1; channel < info.Channels; ++channel) {
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

// One chunk, as 16-bit or float output: never more than asked, fewer only
// where the song ended, and every float finite.
std::size_t RenderChunk(TTarnXMRenderer& renderer, bool asFloat, std::size_t frames = Chunk) {
  static std::vector<std::int16_t> pcm(2 * Chunk);
  static std::vector<float> floats(2 * Chunk);
  const std::size_t rendered = asFloat ? renderer.Render(floats.data(), frames) : renderer.Render(pcm.data(), frames);
  Check(rendered <= frames && (rendered == frames || renderer.Ended()));
  if (asFloat)
    for (std::size_t k = 0; k < 2 * rendered; ++k) Check(std::isfinite(floats[k]));
  return rendered;
}

// Each interpolation from the start, each with its own way of ending.
void RenderEveryInterpolation(TTarnXMRenderer& renderer) {
  struct TPass {
    TTarnXMInterpolation Interpolation;
    std::int32_t Loops;
    TTarnXMEndAction End;
  };
  for (const TPass pass : {TPass{TTarnXMInterpolation::None, 0, TTarnXMEndAction::Stop},
                           TPass{TTarnXMInterpolation::Linear, 1, TTarnXMEndAction::FadeOut},
                           TPass{TTarnXMInterpolation::Cubic, 0, TTarnXMEndAction::Loop},
                           TPass{TTarnXMInterpolation::Sinc, -1, TTarnXMEndAction::Stop}}) {
    renderer.SetInterpolation(pass.Interpolation);
    renderer.SetLoops(pass.Loops, pass.End);
    renderer.Rewind();
    const bool asFloat = pass.Interpolation == TTarnXMInterpolation::Cubic;
    for (std::size_t done = 0; done < FramesPerInterpolation && !renderer.Ended();)
      done += RenderChunk(renderer, asFloat);
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

// Every order and row of the order list, or an even spread of them where
// there are more than the budget allows; length is the subsong's, in ticks.
void SeekEveryRow(TTarnXMRenderer& renderer, const TTarnXMSongInfo& info, std::int64_t length) {
  std::vector<std::pair<std::int32_t, std::int32_t>> rows;
  for (std::size_t order = 0; order < info.Orders.size(); ++order)
    for (std::int32_t row = 0; row < PatternRows(*renderer.Song(), info.Orders[order]); ++row)
      rows.emplace_back(static_cast<std::int32_t>(order), row);
  const std::int64_t seeks = std::clamp<std::int64_t>(SeekBudget / std::max<std::int64_t>(length, 1), 1, MaxOrderSeeks);
  const std::size_t stride = std::max<std::size_t>(1, (rows.size() + seeks - 1) / seeks);
  for (std::size_t k = 0; k < rows.size(); k += stride) {
    Check(renderer.SeekOrder(rows[k].first, rows[k].second));
    RenderChunk(renderer, k % 2 != 0, FramesAfterSeek);
  }
}

void SeekNearTheStart(TTarnXMRenderer& renderer) {
  for (const double before : {-1.0, -1e300, -Infinity, NotANumber}) Check(renderer.SeekTime(before) == 0);
  const double landed = renderer.SeekTime(0.05);
  Check(landed >= 0 && landed <= 0.05);
}

// Past the end and to every row, where the first subsong ends.
void SeekEverywhere(TTarnXMRenderer& renderer, const TTarnXMSongInfo& info) {
  SeekNearTheStart(renderer);
  CheckRefusedRows(renderer, info);
  const TTarnXMSubsong subsong = renderer.Subsongs()[0];
  if (!subsong.Ends) return;
  for (const double past : {subsong.Seconds + 1, 1e15, 1e300, Infinity}) {
    Check(std::abs(renderer.SeekTime(past) - subsong.Seconds) < 1e-9);
    Check(renderer.Ended());
    Check(RenderChunk(renderer, false) == 0);
  }
  SeekEveryRow(renderer, info, std::llround(subsong.Seconds * renderer.Options().SampleRate));
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
  for (std::int32_t index = 0; index < std::min<std::int32_t>(count, MaxSubsongsPlayed); ++index) {
    Check(renderer.SelectSubsong(index) && renderer.CurrentSubsong() == index);
    Check(renderer.Info().Frame == 0);
    RenderChunk(renderer, index % 2 != 0, Chunk / 4);
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
  RenderChunk(renderer, false);
  renderer.Solo(0);
  for (std::int32_t c = 0; c < channels; ++c) Check(renderer.IsMuted(c) == (c != 0));
  CheckFrameInfo(renderer, channels);
  RenderChunk(renderer, true);
  renderer.UnmuteAll();
  for (std::int32_t c = 0; c < channels; ++c) Check(!renderer.IsMuted(c));
}

void ShapeTheMix(TTarnXMRenderer& renderer) {
  for (const std::int32_t percent : {-5, 0, 37, 100, 250}) {
    renderer.SetStereoSeparation(percent);
    Check(renderer.Options().StereoSeparation == std::clamp(percent, 0, 100));
    RenderChunk(renderer, percent % 2 != 0);
  }
  for (const double decibels : {-1e9, -40.0, 12.0, 1e9, NotANumber, Infinity, 0.0}) {
    renderer.SetGain(decibels);
    Check(std::isfinite(renderer.Options().GainDb));
    RenderChunk(renderer, decibels < 0);
  }
  for (const std::int32_t volume : {-1, 0, 300, 128}) {
    renderer.SetMasterVolume(volume);
    Check(renderer.Options().MasterVolume == std::clamp(volume, 0, 256));
  }
  renderer.SetClipping(false);
  RenderChunk(renderer, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TTarnXMLoad load = LoadModule(data, size);
  const std::optional<TTarnXMProbe> probe = ProbeModule(data, size);
  Check(load ? load.Error.empty() : !load.Error.empty());
  if (!load) return 0;
  const TTarnXMSongInfo info = DescribeSong(*load.Song);
  Check(probe && probe->Format == info.Format && probe->FormatName == info.FormatName);
  CheckDescription(info);
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
  RenderChunk(seeking, true);
  return 0;
}
