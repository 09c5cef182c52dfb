// make_text SCROLLER.txt OUT.text: turns the scroller's text into the TEXT
// resource: a signed 32-bit little-endian line count, then per line a length
// byte and the line's bytes. Each line is centred on the scroller's 80
// columns with leading blanks; a run of lines that begin with '>' is a table,
// indented as one block so that its columns stay aligned (the '>' goes).
// Lines hold character codes 32..254 only.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/console/command_line.h"

namespace {

constexpr std::size_t Columns = 80;
constexpr char TableMark = '>';

bool IsTableLine(const std::string& line) { return !line.empty() && line[0] == TableMark; }

void PutLine(std::string& out, const std::string& line) {
  out += static_cast<char>(line.size());
  out += line;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Turns the scroller's text into the TEXT resource.", "make_text");
  std::string scrollerPath, textPath;
  app.add_option("SCROLLER", scrollerPath, "the scroller's text")->required();
  app.add_option("OUT", textPath, "the resource file to write")->required();
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  std::ifstream in(scrollerPath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "make_text: cannot read %s\n", scrollerPath.c_str());
    return 1;
  }
  std::vector<std::string> lines;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    for (const char c : line) {
      const auto code = static_cast<unsigned char>(c);
      if (code < 32 || code == 255) {
        std::fprintf(stderr, "make_text: line %d: character code %d is outside 32..254\n", number, code);
        return 1;
      }
    }
    if (line.size() > Columns + (IsTableLine(line) ? 1 : 0)) {
      std::fprintf(stderr, "make_text: line %d is wider than %zu columns\n", number, Columns);
      return 1;
    }
    lines.push_back(line);
  }

  std::string out(4, '\0');
  for (std::size_t k = 0; k < lines.size();) {
    std::size_t end = k + 1;
    if (IsTableLine(lines[k])) {
      while (end < lines.size() && IsTableLine(lines[end])) ++end;
      std::size_t width = 0;
      for (std::size_t j = k; j < end; ++j) width = std::max(width, lines[j].size() - 1);
      const std::string indent((Columns - width) / 2, ' ');
      for (std::size_t j = k; j < end; ++j) PutLine(out, indent + lines[j].substr(1));
    } else if (!lines[k].empty()) {
      PutLine(out, std::string((Columns - lines[k].size()) / 2, ' ') + lines[k]);
    } else {
      PutLine(out, "");
    }
    k = end;
  }
  const auto count = static_cast<std::uint32_t>(lines.size());
  for (int b = 0; b < 4; ++b) out[static_cast<std::size_t>(b)] = static_cast<char>(count >> (8 * b) & 0xFF);

  std::ofstream file(textPath, std::ios::binary);
  file << out;
  if (!file) {
    std::fprintf(stderr, "make_text: cannot write %s\n", textPath.c_str());
    return 1;
  }
  return 0;
}
