#pragma once
// Where everything goes on a video frame: the song's lines at the top, a grid
// with one oscilloscope per channel, and the pattern below. Text is the
// bitmap font's 8 x 12 glyphs at a whole scale, so that every glyph stays
// crisp. More channels than fit legibly are shown a page at a time.
#include <cstdint>

constexpr int GlyphWidth = 8;
constexpr int GlyphHeight = 12;
constexpr int LineHeight = 14;
// A pattern row: its number, then per channel "C#4 01 40 A0F" and a gap.
constexpr int RowNumberChars = 4;
constexpr int CellChars = 14;

struct TBox {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

struct TVideoLayout {
  int Scale = 1;  // of the song's lines and the scopes' labels
  TBox Header;
  TBox ScopeArea;
  int ScopeColumns = 1;
  int ScopeRows = 1;
  int ScopesPerPage = 1;
  TBox Pattern;
  int PatternScale = 1;
  int PatternChannels = 1;  // channel columns per page
  int PatternRows = 1;      // rows shown, an odd count: the playing one in the middle

  // The scope of the slot'th channel on its page.
  TBox ScopeBox(int slot) const;
};

// width and height at least 16 each; channels at least 1.
TVideoLayout LayOutVideo(int width, int height, int channels);

// The page of `pages` shown at an order: each order turns to the next.
inline int PageAt(std::int32_t order, int pages) { return pages > 1 ? order % pages : 0; }
inline int Pages(int items, int perPage) { return (items + perPage - 1) / perPage; }
