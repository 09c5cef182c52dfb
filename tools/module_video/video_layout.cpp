#include "tools/module_video/video_layout.h"

#include <algorithm>

namespace {

// The smallest scope that stays legible: a label of ten glyphs over a trace
// twice as high as the label.
constexpr int ScopeMinChars = 12;
constexpr int ScopeMinLines = 3;
// Traces are wide: a scope is judged by the lesser of its width and this many
// times its height.
constexpr int ScopeAspect = 3;

}  // namespace

TBox TVideoLayout::ScopeBox(int slot) const {
  const int column = slot % ScopeColumns;
  const int row = slot / ScopeColumns;
  const int left = ScopeArea.X + ScopeArea.Width * column / ScopeColumns;
  const int right = ScopeArea.X + ScopeArea.Width * (column + 1) / ScopeColumns;
  const int top = ScopeArea.Y + ScopeArea.Height * row / ScopeRows;
  const int bottom = ScopeArea.Y + ScopeArea.Height * (row + 1) / ScopeRows;
  // A gap of one scaled pixel keeps neighbours apart.
  return {left + Scale, top + Scale, right - left - 2 * Scale, bottom - top - 2 * Scale};
}

TVideoLayout LayOutVideo(int width, int height, int channels) {
  TVideoLayout layout;
  const int scale = layout.Scale = std::max(1, height / 540);
  const int margin = 4 * scale;
  layout.Header = {margin, margin, width - 2 * margin, 2 * LineHeight * scale};
  const int top = layout.Header.Y + layout.Header.Height + margin;
  const int scopesHeight = (height - top) * 11 / 20;
  layout.ScopeArea = {margin - scale, top, width - 2 * margin + 2 * scale, scopesHeight};

  const int mostColumns = std::max(1, layout.ScopeArea.Width / (ScopeMinChars * GlyphWidth * scale));
  const int mostRows = std::max(1, layout.ScopeArea.Height / (ScopeMinLines * LineHeight * scale));
  const int shown = std::min(channels, mostColumns * mostRows);
  int best = -1;
  for (int columns = 1; columns <= std::min(shown, mostColumns); ++columns) {
    const int rows = Pages(shown, columns);
    if (rows > mostRows) continue;
    const int size = std::min(layout.ScopeArea.Width / columns, ScopeAspect * layout.ScopeArea.Height / rows);
    if (size > best) {
      best = size;
      layout.ScopeColumns = columns;
      layout.ScopeRows = rows;
    }
  }
  layout.ScopesPerPage = shown;

  const int patternTop = top + scopesHeight + margin;
  layout.Pattern = {margin, patternTop, width - 2 * margin, height - patternTop - margin};
  // The largest scale up to the header's at which every channel fits; at
  // the smallest, as many as fit.
  const auto fitting = [&layout](int glyphScale) {
    return layout.Pattern.Width / (GlyphWidth * glyphScale) - RowNumberChars + 1;
  };
  layout.PatternScale = scale;
  while (layout.PatternScale > 1 && fitting(layout.PatternScale) < channels * CellChars) --layout.PatternScale;
  layout.PatternChannels = std::clamp(fitting(layout.PatternScale) / CellChars, 1, channels);
  // A line for the channels' numbers above the rows.
  const int lines = layout.Pattern.Height / (LineHeight * layout.PatternScale) - 1;
  layout.PatternRows = std::max(1, lines - (lines + 1) % 2);
  return layout;
}
