// MIDI macros and the resonant filter of a channel. Only the filter
// commands "F0F0" c c v v of the macro table are understood: command 0 sets
// the cutoff, 1 the resonance, 2 the mode.
#include <algorithm>
#include <cmath>

#include "player/channel.h"
#include "player/playback.h"
#include "player/render_settings.h"

namespace {

// 0..15 for 0-9 and upper-case A-F; -1 for anything else.
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void TTarnXMChannel::RunMacro(const TTarnXMTickContext& context, std::int32_t effect, std::int32_t parameter) {
  const bool smooth = static_cast<TTarnXMEffect>(effect) == TTarnXMEffect::SmoothMidiMacro;
  if (parameter < 128) {
    if (ActiveMacro >= 0 && ActiveMacro < 16)
      ExecuteMacro(context, static_cast<std::int32_t>(ParameteredMacros) + ActiveMacro, parameter, smooth);
  } else {
    ExecuteMacro(context, static_cast<std::int32_t>(FixedMacros) + parameter - 128, 0, smooth);
  }
}

void TTarnXMChannel::ExecuteMacro(const TTarnXMTickContext& context, std::int32_t macro, std::int32_t value,
                                  bool smooth) {
  // The global macros are kept as data only.
  if (macro < static_cast<std::int32_t>(ParameteredMacros) || macro >= static_cast<std::int32_t>(MacroCount)) return;
  const char* text = context.Song.MidiConfig.data() + static_cast<std::size_t>(macro) * MacroLength;
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (upper(text[0]) != 'F' || text[1] != '0' || upper(text[2]) != 'F' || text[3] != '0') return;
  // A command needs its first digit; a missing second one counts as 0.
  if (HexDigit(text[4]) < 0) return;
  const int command = HexDigit(text[4]) * 16 + std::max(HexDigit(text[5]), 0);
  const std::int32_t v =
      upper(text[6]) == 'Z' ? value : std::max(HexDigit(text[6]), 0) * 16 + std::max(HexDigit(text[7]), 0);

  // A smooth macro moves from the row's starting value to v over the row's
  // ticks; at speed 0 there are no ticks to spread it over, so it jumps.
  const auto apply = [&](std::int32_t& field) {
    if (v >= 128) return;
    if (!smooth || context.State.Speed == 0) {
      field = v;
      return;
    }
    if (Tick == 0) {
      MacroStart = static_cast<float>(field);
      MacroStep = (static_cast<float>(v) - MacroStart) / static_cast<float>(context.State.Speed);
    }
    const float target = std::nearbyint(MacroStart + static_cast<float>(Tick + 1) * MacroStep);
    field = static_cast<std::int32_t>(std::clamp(target, -1e9f, 1e9f));
  };

  switch (command) {
    case 0: {
      const std::int32_t old = FilterCutoff;
      apply(FilterCutoff);
      // A silent channel still ramping out keeps its coefficients through a
      // big cutoff jump, so the tail it is fading does not change colour.
      const bool mono = context.Settings.OutputChannels == 1;
      if (Volume <= 0 && FilterActive && RampLeft != 0 && std::abs(FilterCutoff - old) >= 16 &&
          (RampRight != 0 || mono))
        return;
      FilterSetup(context, !FilterActive);
      return;
    }
    case 1:
      apply(FilterResonance);
      FilterSetup(context, !FilterActive);
      return;
    case 2:
      if (v < 32) {
        FilterMode = v / 16;
        FilterSetup(context, !FilterActive);
      }
      return;
    default: return;
  }
}

std::int32_t TTarnXMChannel::CutoffToFrequency(const TTarnXMTickContext& context, std::int32_t cutoff,
                                               std::int32_t modifier) const {
  const std::int64_t x = std::int64_t{std::clamp(cutoff, 0, 127)} * (std::int64_t{modifier} + 256);
  const float y = static_cast<float>(x) / (context.Song.ExtendedFilterRange ? 10240.0f : 12288.0f) + 0.25f;
  const float frequency = 110.0f * std::exp2(y);
  std::int32_t f = static_cast<std::int32_t>(std::nearbyint(std::clamp(frequency, 120.0f, 20000.0f)));
  if (context.Settings.SampleRate < 2 * f) f = context.Settings.SampleRate / 2;
  return f;
}

void TTarnXMChannel::FilterSetup(const TTarnXMTickContext& context, bool clearHistory) {
  FilterResonance = std::clamp(FilterResonance, 0, 127);
  const std::int32_t f = CutoffToFrequency(context, FilterCutoff, 256);
  // Below 2 Hz of output rate there is no frequency to tune to.
  if (f <= 0) return;
  const double rate = context.Settings.SampleRate;
  const double d = std::pow(10.0f, -0.1875f * static_cast<float>(FilterResonance) / 20.0f);
  const double e = f * 6.28318530716 / rate;
  const double q = 1.0 / (e * e);
  double k = 2.0 * d;
  const double g = std::min((1.0 - k) * e, 2.0);
  k = (k - g) / e;
  const double h = q + k + 1.0;
  const double a = 1.0 / h;
  const double b0 = (2.0 * q + k) / h;
  const double b1 = -q / h;
  FilterA0 = static_cast<std::int32_t>(std::nearbyint(4096.0 * (FilterMode == 1 ? 1.0 - a : a)));
  FilterB0 = static_cast<std::int32_t>(std::nearbyint(4096.0 * b0));
  FilterB1 = static_cast<std::int32_t>(std::nearbyint(4096.0 * b1));
  if (clearHistory) FilterHistory = {};
  FilterActive = true;
}
