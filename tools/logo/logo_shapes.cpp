#include "tools/logo/logo_shapes.h"

#include <sstream>

namespace {

bool Positive(double value) { return value > 0; }

}  // namespace

bool ReadLogoShapes(std::istream& in, TLogoShapes& shapes, std::string& error) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream words(line);
    std::string command;
    if (!(words >> command) || command[0] == ';') continue;
    const auto fail = [&](const std::string& reason) {
      error = "line " + std::to_string(number) + ": " + reason;
      return false;
    };
    bool ok = true;
    if (command == "picture") {
      ok = static_cast<bool>(words >> shapes.PictureWidth >> shapes.PictureHeight) && shapes.PictureWidth > 0 &&
           shapes.PictureHeight > 0 && shapes.PictureWidth <= 4096 && shapes.PictureHeight <= 4096;
    } else if (command == "height") {
      ok = static_cast<bool>(words >> shapes.Height) && Positive(shapes.Height);
    } else if (command == "baseline") {
      ok = static_cast<bool>(words >> shapes.Baseline);
    } else if (command == "stroke") {
      ok = static_cast<bool>(words >> shapes.Stroke) && Positive(shapes.Stroke);
    } else if (command == "gap") {
      ok = static_cast<bool>(words >> shapes.Gap);
    } else if (command == "slant") {
      ok = static_cast<bool>(words >> shapes.Slant);
    } else if (command == "letter") {
      TLetter letter;
      ok = static_cast<bool>(words >> letter.Name >> letter.Width) && letter.Width >= 0;
      shapes.Letters.push_back(letter);
    } else if (command == "line") {
      if (shapes.Letters.empty()) return fail("a line before the first letter");
      std::vector<TPoint> points;
      TPoint point;
      while (words >> point.X >> point.Y) points.push_back(point);
      ok = words.eof() && points.size() >= 2;
      shapes.Letters.back().Lines.push_back(points);
    } else {
      return fail("unknown command '" + command + "'");
    }
    if (!ok) return fail("bad values for '" + command + "'");
  }
  if (shapes.PictureWidth == 0 || shapes.Height == 0 || shapes.Stroke == 0 || shapes.Letters.empty()) {
    error = "the file needs a picture, a height, a stroke and at least one letter";
    return false;
  }
  return true;
}
