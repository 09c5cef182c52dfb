#pragma once
// Options whose values the tool checks itself, so that a bad one is a usage
// error in the tool's own words: "--gain takes -96 to 24 dB".
#include <algorithm>
#include <charconv>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

// take sets the option's value from its word and returns what is wrong with
// the word: empty when nothing, else words that follow the option's long
// name in the message ("takes -96 to 24 dB"), as CLI11 names options in its
// own messages.
CLI::Option* AddCheckedOption(CLI::App& command, const std::string& names, const std::string& valueName,
                              const std::string& description, std::function<std::string(const std::string&)> take);

// The whole text as a decimal number.
template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end;
}

// The place of word among names, as the enumeration whose values are in that
// order; false when it is none of them.
template <typename T>
bool ParseName(const std::string& word, const std::vector<std::string>& names, T& value) {
  const auto found = std::find(names.begin(), names.end(), word);
  if (found == names.end()) return false;
  value = static_cast<T>(found - names.begin());
  return true;
}
