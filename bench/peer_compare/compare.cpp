#include "bench/peer_compare/compare.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr double ApartCents = 10;
constexpr double ApartDb = 3;
// Windows quieter than this count as silence: their level differences are
// noise, not music.
constexpr double QuietRms = 0.001;

void ComparePitch(const TRun& ours, const TRun& peer, TComparison& result) {
  std::int64_t apart = 0;
  const std::size_t ticks = std::min(ours.Ticks.size(), peer.Ticks.size());
  for (std::size_t t = 0; t < ticks; ++t) {
    const TTickPitch& a = ours.Ticks[t];
    const TTickPitch& b = peer.Ticks[t];
    // Once the two have drifted apart in time, their ticks hold different
    // notes: only ticks at the same row compare.
    if (a.Order != b.Order || a.Row != b.Row) continue;
    for (std::size_t c = 0; c < std::min(a.Hz.size(), b.Hz.size()); ++c) {
      if (a.Hz[c] <= 0 || b.Hz[c] <= 0) continue;
      ++result.ChannelTicks;
      apart += std::abs(1200 * std::log2(a.Hz[c] / b.Hz[c])) > ApartCents ? 1 : 0;
    }
  }
  result.PitchApartShare =
      result.ChannelTicks > 0 ? static_cast<double>(apart) / static_cast<double>(result.ChannelTicks) : 0;
}

double Pearson(const std::vector<double>& x, const std::vector<double>& y, std::size_t n) {
  double meanX = 0, meanY = 0;
  for (std::size_t i = 0; i < n; ++i) {
    meanX += x[i] / static_cast<double>(n);
    meanY += y[i] / static_cast<double>(n);
  }
  double covariance = 0, varianceX = 0, varianceY = 0;
  for (std::size_t i = 0; i < n; ++i) {
    covariance += (x[i] - meanX) * (y[i] - meanY);
    varianceX += (x[i] - meanX) * (x[i] - meanX);
    varianceY += (y[i] - meanY) * (y[i] - meanY);
  }
  return varianceX > 0 && varianceY > 0 ? covariance / std::sqrt(varianceX * varianceY) : 0;
}

void CompareLevels(const TRun& ours, const TRun& peer, TComparison& result) {
  const std::size_t windows = std::min(ours.WindowRms.size(), peer.WindowRms.size());
  result.LevelCorrelation = Pearson(ours.WindowRms, peer.WindowRms, windows);
  for (std::size_t w = 0; w < windows; ++w) {
    const double a = std::max(ours.WindowRms[w], QuietRms);
    const double b = std::max(peer.WindowRms[w], QuietRms);
    result.WindowsApart += std::abs(20 * std::log10(a / b)) > ApartDb ? 1 : 0;
  }
}

}  // namespace

TComparison Compare(const TRun& ours, const TRun& peer) {
  TComparison result;
  result.DurationPercent = peer.Seconds > 0 ? (ours.Seconds - peer.Seconds) / peer.Seconds * 100 : 0;
  ComparePitch(ours, peer, result);
  CompareLevels(ours, peer, result);
  result.ClippedShare = ours.Samples > 0 ? static_cast<double>(ours.Clipped) / static_cast<double>(ours.Samples) : 0;
  return result;
}
