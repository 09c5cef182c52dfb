// make_font GLYPHS.txt OUT.bmp: draws the intro's font strip from the glyph
// pictures in GLYPHS.txt (the file says how to write them) as a 24-bit BMP of
// 1999 x 14 pixels: a gap column, then for each code 33..254 eight columns of
// glyph and one of gap; the 12 picture rows fill strip rows 1..12.
#include <CLI/CLI.hpp>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tools/console/command_line.h"

namespace {

constexpr int FirstCode = 33;
constexpr int LastCode = 254;
constexpr int CellWidth = 8;
constexpr int PictureRows = 12;
constexpr int StripWidth = 1 + (LastCode - FirstCode + 1) * (CellWidth + 1);
constexpr int StripHeight = PictureRows + 2;

using TPicture = std::array<std::string, PictureRows>;

struct TMark {
  bool Above = true;
  std::vector<std::string> Rows;
};

struct TFont {
  std::optional<TPicture> Box;
  std::map<int, TPicture> Glyphs;
  std::map<std::string, TPicture> Shapes;
  std::map<std::string, TMark> Marks;
};

class TGlyphFile {
 public:
  explicit TGlyphFile(std::istream& in) : In(in) {}

  bool Fail(const std::string& message) {
    std::fprintf(stderr, "make_font: line %d: %s\n", LineNumber, message.c_str());
    return false;
  }

  // The next line that is not blank or a comment.
  bool NextCommand(std::string& line) {
    while (std::getline(In, line)) {
      ++LineNumber;
      if (!line.empty() && line[0] != ';') return true;
    }
    return false;
  }

  bool ReadRow(std::string& row) {
    if (!std::getline(In, row)) return Fail("picture ends early");
    ++LineNumber;
    if (row.size() != CellWidth || row.find_first_not_of("#.") != std::string::npos)
      return Fail("a picture row is 8 characters of '#' and '.'");
    return true;
  }

  bool ReadPicture(TPicture& picture) {
    for (std::string& row : picture)
      if (!ReadRow(row)) return false;
    return true;
  }

  // Rows up to the next blank line.
  bool ReadMark(TMark& mark) {
    std::string row;
    while (std::getline(In, row)) {
      ++LineNumber;
      if (row.empty()) break;
      if (row.size() != CellWidth || row.find_first_not_of("#.") != std::string::npos)
        return Fail("a mark row is 8 characters of '#' and '.'");
      mark.Rows.push_back(row);
    }
    return !mark.Rows.empty() || Fail("a mark needs at least one row");
  }

 private:
  std::istream& In;
  int LineNumber = 0;
};

std::optional<int> ParseCode(const std::string& text) {
  try {
    std::size_t used = 0;
    const int code = std::stoi(text, &used);
    if (used == text.size() && code >= FirstCode && code <= LastCode) return code;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

int FirstLitRow(const TPicture& picture) {
  for (int r = 0; r < PictureRows; ++r)
    if (picture[r].find('#') != std::string::npos) return r;
  return PictureRows;
}

int LastLitRow(const TPicture& picture) {
  for (int r = PictureRows - 1; r >= 0; --r)
    if (picture[r].find('#') != std::string::npos) return r;
  return -1;
}

// An accent above sits one row clear of the letter where the cell has room
// (small letters) and touches it where it has not (capitals); one below hangs
// from the letter's lowest row.
TPicture Compose(TPicture picture, const TMark& mark) {
  const int height = static_cast<int>(mark.Rows.size());
  int first;
  if (mark.Above) {
    const int top = FirstLitRow(picture);
    first = top - 1 - height >= 1 ? top - 1 - height : top - height;
  } else {
    first = LastLitRow(picture) + 1;
  }
  for (int k = 0; k < height; ++k) {
    const int r = first + k;
    if (r < 0 || r >= PictureRows) continue;
    for (int x = 0; x < CellWidth; ++x)
      if (mark.Rows[k][x] == '#') picture[r][x] = '#';
  }
  return picture;
}

bool ReadFont(std::istream& in, TFont& font) {
  TGlyphFile file(in);
  std::string line;
  while (file.NextCommand(line)) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "box") {
      font.Box.emplace();
      if (!file.ReadPicture(*font.Box)) return false;
    } else if (command == "glyph") {
      std::string codeText;
      words >> codeText;
      const std::optional<int> code = ParseCode(codeText);
      if (!code) return file.Fail("glyph needs a code from 33 to 254");
      if (!file.ReadPicture(font.Glyphs[*code])) return false;
    } else if (command == "shape") {
      std::string name;
      if (!(words >> name)) return file.Fail("shape needs a name");
      if (!file.ReadPicture(font.Shapes[name])) return false;
    } else if (command == "mark") {
      std::string name;
      std::string place;
      if (!(words >> name >> place) || (place != "above" && place != "below"))
        return file.Fail("mark needs a name and 'above' or 'below'");
      TMark& mark = font.Marks[name];
      mark.Above = place == "above";
      if (!file.ReadMark(mark)) return false;
    } else if (command == "compose") {
      std::string codeText;
      std::string base;
      std::string markName;
      if (!(words >> codeText >> base >> markName)) return file.Fail("compose needs a code, a base and a mark");
      const std::optional<int> code = ParseCode(codeText);
      if (!code) return file.Fail("compose needs a code from 33 to 254");
      const TPicture* basePicture = nullptr;
      if (font.Shapes.count(base)) basePicture = &font.Shapes[base];
      const std::optional<int> baseCode =
          base.size() == 1 ? std::optional<int>(static_cast<unsigned char>(base[0])) : ParseCode(base);
      if (!basePicture && baseCode && font.Glyphs.count(*baseCode)) basePicture = &font.Glyphs[*baseCode];
      if (!basePicture) return file.Fail("no glyph or shape '" + base + "' before this line");
      if (!font.Marks.count(markName)) return file.Fail("no mark '" + markName + "' before this line");
      font.Glyphs[*code] = Compose(*basePicture, font.Marks[markName]);
    } else {
      return file.Fail("unknown command '" + command + "'");
    }
  }
  return font.Box || file.Fail("the file gives no box picture");
}

struct TColor {
  std::uint8_t R, G, B;
};

// Letters shade from white at the cap line to a light blue at the baseline.
TColor RowColor(int row) {
  constexpr TColor Top{250, 252, 255};
  constexpr TColor Bottom{130, 196, 255};
  const double t = row <= 3 ? 0.0 : row >= 9 ? 1.0 : (row - 3) / 6.0;
  const auto mix = [t](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(a + (b - a) * t + 0.5); };
  return {mix(Top.R, Bottom.R), mix(Top.G, Bottom.G), mix(Top.B, Bottom.B)};
}

void PutU16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8 & 0xFF);
}

void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

// Bottom row first, each row padded to four bytes, pixels blue-green-red; the
// image-size field is 0 (the rows say how much there is).
std::string EncodeBmp(const std::vector<TColor>& pixels, int width, int height) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
  const std::uint32_t dataSize = rowBytes * static_cast<std::uint32_t>(height);
  std::string out = "BM";
  PutU32(out, 54 + dataSize);
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const TColor& pixel =
          pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
      row += static_cast<char>(pixel.B);
      row += static_cast<char>(pixel.G);
      row += static_cast<char>(pixel.R);
    }
    row.resize(rowBytes, '\0');
    out += row;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Draws the intro's font strip from the glyph pictures in GLYPHS as a 24-bit BMP.", "make_font");
  std::string glyphsPath, bmpPath;
  app.add_option("GLYPHS", glyphsPath, "the glyph pictures (the file says how to write them)")->required();
  app.add_option("OUT", bmpPath, "the BMP file to write")->required();
  if (const std::optional<int> status = ParseCommandLine(app, argc, argv)) return *status;
  std::ifstream in(glyphsPath);
  if (!in) {
    std::fprintf(stderr, "make_font: cannot read %s\n", glyphsPath.c_str());
    return 1;
  }
  TFont font;
  if (!ReadFont(in, font)) return 1;

  // Pixel rows counted from the bottom, as the bitmap stores them.
  std::vector<TColor> pixels(static_cast<std::size_t>(StripWidth) * StripHeight, TColor{0, 0, 0});
  for (int code = FirstCode; code <= LastCode; ++code) {
    const auto glyph = font.Glyphs.find(code);
    const TPicture& picture = glyph != font.Glyphs.end() ? glyph->second : *font.Box;
    const int left = (code - FirstCode) * (CellWidth + 1) + 1;
    for (int r = 0; r < PictureRows; ++r)
      for (int x = 0; x < CellWidth; ++x)
        if (picture[r][x] == '#')
          pixels[static_cast<std::size_t>(PictureRows - r) * StripWidth + static_cast<std::size_t>(left + x)] =
              RowColor(r);
  }

  std::ofstream out(bmpPath, std::ios::binary);
  out << EncodeBmp(pixels, StripWidth, StripHeight);
  if (!out) {
    std::fprintf(stderr, "make_font: cannot write %s\n", bmpPath.c_str());
    return 1;
  }
  return 0;
}
