#pragma once
// What a video frame is drawn with, in pixels from the top left of the
// current OpenGL context: filled boxes, text in the intro's bitmap font, and
// traces.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "tools/module_video/video_layout.h"

struct TColour {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
};

class TVideoPainter {
 public:
  // Needs a current context of that size; loads the font from the program's
  // resources (Ok() says whether it could).
  TVideoPainter(int width, int height);
  ~TVideoPainter();
  TVideoPainter(const TVideoPainter&) = delete;
  TVideoPainter& operator=(const TVideoPainter&) = delete;

  bool Ok() const { return Font != 0; }

  void Clear(TColour colour) const;
  void Fill(const TBox& box, TColour colour) const;
  // One line of text from its top left corner, each glyph scale times its
  // 8 x 12 pixels; characters past maxChars are left out.
  void Text(std::string_view text, int x, int y, int scale, TColour colour, std::size_t maxChars = 4096) const;
  // values[k] at the k-th pixel column of the box, -1 at its bottom and 1 at
  // its top, held inside it.
  void Trace(const TBox& box, std::span<const float> values, int lineWidth, TColour colour) const;

 private:
  std::uint32_t Font = 0;
};
