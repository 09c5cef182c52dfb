#pragma once
// What one player makes of a module, gathered in one pass through it: its
// own idea of the song's length, each tick's position and channel pitches,
// and the level of its output.
#include <cstdint>
#include <string>
#include <vector>

struct TTickPitch {
  std::int32_t Order = 0;
  std::int32_t Row = 0;
  std::vector<double> Hz;  // per channel; 0 where the channel is silent
};

struct TRun {
  double Seconds = 0;  // the player's own reckoning of one pass
  std::vector<TTickPitch> Ticks;
  std::vector<double> WindowRms;  // per 100 ms, 1.0 = full scale
  std::int64_t Samples = 0;
  std::int64_t Clipped = 0;
  std::string Error;
};

constexpr int CompareRate = 44100;
// A song that never comes round is cut here.
constexpr double LongestSeconds = 1200;
// The tools' default level: -6 dB on the master volume 128.
constexpr double DefaultGainDb = -6;

// Ours through the public interface, rendered at the default level.
TRun RunOurs(const std::vector<char>& module);
// libxmp's, brought to our mixer's scale at the same level.
TRun RunPeer(const std::vector<char>& module);
