#pragma once
// Readable sources of the texture and mesh generators' byte scripts. One
// operation a line: its name, its arguments, then optionally xN to repeat the
// line N times; '#' starts a comment. Texture operations take a layer and
// their bytes; Bitmap takes a layer and a picture, "ring CX CY INNER OUTER".
// Mesh operations take their argument byte.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TAssembly {
  std::vector<std::uint8_t> Bytes;
  // Empty on success, else "line N: what is wrong".
  std::string Error;
};

TAssembly AssembleTextureScript(std::string_view source);
TAssembly AssembleMeshScript(std::string_view source);

// A 1-bit picture of 8,191 bytes: white where the centre (x + 0.5, y + 0.5) of
// pixel (x, y) lies at a distance from (centreX, centreY) between inner and
// outer, both included.
std::vector<std::uint8_t> RingPicture(double centreX, double centreY, double inner, double outer);
