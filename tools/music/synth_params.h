#pragma once
// The readable parameters of one synthesised instrument, as the score writes
// them (`root=A-1 decay=0.3 wave=saw`), with a note of which ones a
// synthesiser read, so that a misspelt parameter is an error, not a default.
#include <map>
#include <set>
#include <string>
#include <vector>

class TSynthParams {
 public:
  TSynthParams() = default;
  explicit TSynthParams(std::map<std::string, std::string> values) : Values(std::move(values)) {}

  double Number(const std::string& key, double fallback);
  // A note name ("A-1", "C#4") or a frequency in Hz.
  double Pitch(const std::string& key, double fallbackHz);
  std::string Text(const std::string& key, const std::string& fallback);

  // Parameters given but never read, and parameters that did not parse.
  std::vector<std::string> Unused() const;
  const std::vector<std::string>& Invalid() const { return Errors; }

 private:
  std::map<std::string, std::string> Values;
  std::set<std::string> Read;
  std::vector<std::string> Errors;
};

// The frequency of an XM note number (49 = C-4 = middle C).
double NoteFrequency(int note);
// The note number of a name such as "C-4", "F#2"; 0 when it is none.
int ParseNoteName(const std::string& name);
