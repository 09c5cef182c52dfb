#include "scene/scroller_text.h"

#include <algorithm>
#include <cstdlib>

#include "base/byte_reader.h"
#include "platform/resources.h"

std::vector<std::string> ScrollerLines;
std::int32_t LineCount = 0;

void (*EndProcess)(int exitCode) = [](int exitCode) { std::exit(exitCode); };

std::vector<std::string> ParseScrollerText(std::span<const std::uint8_t> data) {
  TByteReader reader(data);
  const std::int32_t announced = reader.ReadSignedDword();
  // Each record takes at least its length byte.
  const std::size_t count = std::min<std::size_t>(announced > 0 ? static_cast<std::size_t>(announced) : 0,
                                                  static_cast<std::size_t>(reader.Remaining()));
  std::vector<std::string> lines;
  lines.reserve(count);
  for (std::size_t k = 0; k < count && !reader.AtEnd(); ++k) {
    const std::span<const std::uint8_t> text = reader.Take(reader.ReadByte());
    lines.emplace_back(text.begin(), text.end());
  }
  return lines;
}

void LoadScrollerText() {
  const platform::TResource* resource = platform::FindResource("TEXT", "TEXT");
  // A resource whose data cannot be had counts as not loaded.
  if (!resource || !resource->Data.data()) {
    EndProcess(0);
    return;
  }
  ScrollerLines = ParseScrollerText(resource->Data);
  LineCount = static_cast<std::int32_t>(ScrollerLines.size());
}
