#include "player/text_field.h"

#include <algorithm>

std::string CutAtZero(std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return std::string(field.begin(), end);
}

std::string TrimmedText(std::span<const std::uint8_t> field) {
  std::string text = CutAtZero(field);
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  const auto last = std::find_if_not(text.rbegin(), text.rend(), blank);
  text.erase(last.base(), text.end());
  text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
  return text;
}
