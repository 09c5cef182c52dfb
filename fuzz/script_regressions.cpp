// Scripts and text cut short where a reader is tempted to read on.
#include "fuzz/regressions.h"
#include "tools/scripts/script_sources.h"

std::vector<TRegression> TextureScriptRegressions() {
  // A bitmap's picture is the 8191 bytes after its operation; half of them.
  std::vector<std::uint8_t> bitmap = AssembleTextureScript("Bitmap 0 ring 128 128 88.5 113.5\n").Bytes;
  bitmap.resize(bitmap.size() / 2);
  return {{"bitmap-cut-short.bin", bitmap}};
}

std::vector<TRegression> MeshScriptRegressions() {
  // A clip box of zero size: 0xFF, six floats and the closing 0xFF, here
  // closed by another byte, or cut off before its closing byte.
  std::vector<std::uint8_t> wrongEnd = AssembleMeshScript("Cube 3\n").Bytes;
  wrongEnd.push_back(0xFF);
  wrongEnd.resize(wrongEnd.size() + 25, 0);
  std::vector<std::uint8_t> cutShort = wrongEnd;
  cutShort.pop_back();
  return {{"clip-box-wrong-end.bin", wrongEnd}, {"clip-box-cut-short.bin", cutShort}};
}

std::vector<TRegression> ScrollerTextRegressions() {
  // 65535 lines announced, and a line longer than the bytes left.
  return {{"lines-past-the-data.text", {255, 255, 0, 0, 3, 'o', 'n', 'e', 200, 'x'}}};
}
