#include "tools/music/synth_params.h"

#include <cmath>
#include <cstdlib>

double TSynthParams::Number(const std::string& key, double fallback) {
  Read.insert(key);
  const auto found = Values.find(key);
  if (found == Values.end()) return fallback;
  char* end = nullptr;
  const double value = std::strtod(found->second.c_str(), &end);
  if (found->second.empty() || *end != '\0' || !std::isfinite(value)) {
    Errors.push_back(key + "=" + found->second + " is not a number");
    return fallback;
  }
  return value;
}

double TSynthParams::Pitch(const std::string& key, double fallbackHz) {
  Read.insert(key);
  const auto found = Values.find(key);
  if (found == Values.end()) return fallbackHz;
  if (const int note = ParseNoteName(found->second); note != 0) return NoteFrequency(note);
  const double hz = Number(key, fallbackHz);
  if (hz <= 0) Errors.push_back(key + "=" + found->second + " is not a note or a positive frequency");
  return hz > 0 ? hz : fallbackHz;
}

std::string TSynthParams::Text(const std::string& key, const std::string& fallback) {
  Read.insert(key);
  const auto found = Values.find(key);
  return found == Values.end() ? fallback : found->second;
}

std::vector<std::string> TSynthParams::Unused() const {
  std::vector<std::string> unused;
  for (const auto& [key, value] : Values)
    if (!Read.contains(key)) unused.push_back(key);
  return unused;
}

double NoteFrequency(int note) { return 261.6255653005986 * std::pow(2.0, (note - 49) / 12.0); }

int ParseNoteName(const std::string& name) {
  static const std::string letters = "C-C#D-D#E-F-F#G-G#A-A#B-";
  if (name.size() != 3 || name[2] < '0' || name[2] > '7') return 0;
  const std::size_t index = letters.find(name.substr(0, 2));
  if (index == std::string::npos || index % 2 != 0) return 0;
  return static_cast<int>(index / 2) + 12 * (name[2] - '0') + 1;
}
