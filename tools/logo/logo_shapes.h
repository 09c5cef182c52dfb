#pragma once
// The title's shapes as the shapes file gives them: letters made of
// polylines on a grid 6 units high, and how they are laid out.
#include <istream>
#include <string>
#include <vector>

struct TPoint {
  double X = 0;
  double Y = 0;
};

struct TLetter {
  std::string Name;
  double Width = 0;
  std::vector<std::vector<TPoint>> Lines;
};

struct TLogoShapes {
  int PictureWidth = 0;
  int PictureHeight = 0;
  double Height = 0;    // pixels for 6 units
  double Baseline = 0;  // picture row of y = 0
  double Stroke = 0;
  double Gap = 0;
  double Slant = 0;
  std::vector<TLetter> Letters;
};

// False, with the reason in `error`, when the file is not well formed.
bool ReadLogoShapes(std::istream& in, TLogoShapes& shapes, std::string& error);
