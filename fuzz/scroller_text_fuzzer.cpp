// Any bytes as the scroller's TEXT resource: no more lines than the data
// can hold, and no line longer than its length byte allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/input_limits.h"
#include "scene/scroller_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxScriptInputBytes) return 0;
  const std::vector<std::string> lines = ParseScrollerText({data, size});
  std::size_t used = lines.empty() ? 0 : 4;
  for (const std::string& line : lines) {
    if (line.size() > 255) std::abort();
    used += 1 + line.size();
  }
  if (used > size) std::abort();
  return 0;
}
