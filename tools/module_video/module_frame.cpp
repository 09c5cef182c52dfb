#include "tools/module_video/module_frame.h"

#include <cmath>
#include <cstdio>

#include "tools/module_video/pattern_text.h"
#include "tools/module_video/video_palette.h"

namespace {

using namespace VideoPalette;

// A channel's output is at most about half of full scale; its trace is
// drawn twice as tall, so that a loud note fills its scope.
constexpr float ScopeGain = 2.0f;

std::string TimeText(double seconds) {
  const auto hundredths = static_cast<long long>(std::floor(seconds * 100));
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
  return text;
}

std::string Format(const char* format, auto... values) {
  char text[256];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

bool Live(const TTarnXMFrameInfo& state, std::int32_t channel) {
  if (static_cast<std::size_t>(channel) >= state.Channels.size()) return false;
  const TTarnXMChannelState& shown = state.Channels[static_cast<std::size_t>(channel)];
  return shown.Sounding && !shown.Muted && shown.Level > 0;
}

}  // namespace

TModuleFrame::TModuleFrame(std::shared_ptr<const TTarnXMSong> song, TSongCaption caption, int width, int height,
                           int sampleRate)
    : Song(std::move(song)),
      SongInfo(DescribeSong(*Song)),
      Caption(std::move(caption)),
      Layout_(LayOutVideo(width, height, std::max(1, SongInfo.Channels))),
      Painter(width, height),
      TraceFrames(static_cast<std::size_t>(std::lround(sampleRate * ScopeSeconds))),
      Triggers(static_cast<std::size_t>(SongInfo.Channels)) {}

void TModuleFrame::Draw(const TTarnXMFrameInfo& state, TChannelScopes& scopes, std::int64_t at) {
  Painter.Clear(Background);
  DrawHeader(state);
  DrawScopes(state, scopes, at);
  DrawPattern(state);
}

void TModuleFrame::DrawHeader(const TTarnXMFrameInfo& state) const {
  const int scale = Layout_.Scale;
  const auto fits = static_cast<std::size_t>(Layout_.Header.Width / (GlyphWidth * scale));
  const std::string about = Format("  %s, %d channels", SongInfo.FormatName.c_str(), SongInfo.Channels);
  Painter.Text(Caption.Title + about, Layout_.Header.X, Layout_.Header.Y, scale, Bright, fits);
  std::string status = TimeText(state.Seconds) + " / " + TimeText(Caption.EndSeconds) +
                       Format("   order %d/%d   pattern %d   row %d/%d   speed %d   tempo %d", state.Order,
                              static_cast<int>(SongInfo.Orders.size()), state.Pattern, state.Row,
                              PatternRows(*Song, state.Pattern), state.Speed, state.Tempo);
  const int pages = Pages(SongInfo.Channels, Layout_.ScopesPerPage);
  if (pages > 1) {
    const int first = PageAt(state.Order, pages) * Layout_.ScopesPerPage;
    status += Format("   scopes %d-%d of %d", first + 1, std::min(first + Layout_.ScopesPerPage, SongInfo.Channels),
                     SongInfo.Channels);
  }
  Painter.Text(status, Layout_.Header.X, Layout_.Header.Y + LineHeight * scale, scale, Dim, fits);
}

void TModuleFrame::DrawScopes(const TTarnXMFrameInfo& state, TChannelScopes& scopes, std::int64_t at) {
  const int scale = Layout_.Scale;
  const int first = PageAt(state.Order, Pages(SongInfo.Channels, Layout_.ScopesPerPage)) * Layout_.ScopesPerPage;
  const std::size_t reach = TraceFrames / 2;
  for (int slot = 0; slot < Layout_.ScopesPerPage && first + slot < SongInfo.Channels; ++slot) {
    const std::int32_t channel = first + slot;
    const TBox box = Layout_.ScopeBox(slot);
    Painter.Fill(box, ScopeBackground);
    const bool live = Live(state, channel);
    const std::int32_t instrument =
        static_cast<std::size_t>(channel) < state.Channels.size() ? state.Channels[std::size_t(channel)].Instrument : 0;
    // The channel, then the instrument as the pattern writes it, and its name.
    std::string label = Format("%02d", channel + 1);
    if (instrument > 0) label += " " + InstrumentText(instrument);
    if (instrument > 0 && static_cast<std::size_t>(instrument) <= SongInfo.InstrumentNames.size())
      label += " " + SongInfo.InstrumentNames[static_cast<std::size_t>(instrument - 1)];
    const int inset = 2 * scale;
    Painter.Text(label, box.X + inset, box.Y + inset, scale, live ? Bright : Dim,
                 static_cast<std::size_t>((box.Width - 2 * inset) / (GlyphWidth * scale)));

    const int labelHeight = LineHeight * scale + inset;
    const TBox traceBox{box.X, box.Y + labelHeight, box.Width, box.Height - labelHeight};
    const std::span<const float> samples =
        scopes.Samples(channel, at - static_cast<std::int64_t>(reach + TraceFrames / 2), TraceFrames + 2 * reach);
    const double start = Triggers[static_cast<std::size_t>(channel)].Find(samples, TraceFrames);
    Values.resize(static_cast<std::size_t>(std::max(traceBox.Width, 0)));
    const double step = static_cast<double>(TraceFrames) / static_cast<double>(Values.size());
    for (std::size_t k = 0; k < Values.size(); ++k)
      Values[k] = live ? ScopeGain * SampleAt(samples, start + static_cast<double>(k) * step) : 0.0f;
    Painter.Trace(traceBox, Values, scale, live ? LiveTrace : QuietTrace);
  }
}

void TModuleFrame::DrawPattern(const TTarnXMFrameInfo& state) const {
  const int scale = Layout_.PatternScale;
  const int glyph = GlyphWidth * scale;
  const int line = LineHeight * scale;
  const TBox& area = Layout_.Pattern;
  const int first = PageAt(state.Order, Pages(SongInfo.Channels, Layout_.PatternChannels)) * Layout_.PatternChannels;
  const int shown = std::min(Layout_.PatternChannels, SongInfo.Channels - first);
  const int rows = PatternRows(*Song, state.Pattern);
  const int columnWidth = CellChars * glyph;

  for (int c = 0; c < shown; ++c)
    Painter.Text(Format("%02d", first + c + 1), area.X + RowNumberChars * glyph + c * columnWidth, area.Y, scale, Dim);
  const int middle = Layout_.PatternRows / 2;
  for (int k = 0; k < Layout_.PatternRows; ++k) {
    const int row = state.Row - middle + k;
    if (row < 0 || row >= rows) continue;
    const int y = area.Y + (k + 1) * line;
    const TBox band{area.X, y - scale, RowNumberChars * glyph + shown * columnWidth, line};
    if (row == state.Row) Painter.Fill(band, PlayingRow);
    else if (row % 4 == 0) Painter.Fill(band, BeatRow);
    Painter.Text(Format(rows > 100 ? "%03d" : "%02d", row), area.X, y, scale, row == state.Row ? Bright : Dim);
    for (int c = 0; c < shown; ++c) {
      const TTarnXMCell cell = PatternCell(*Song, state.Pattern, row, first + c);
      int x = area.X + RowNumberChars * glyph + c * columnWidth;
      for (const auto& [text, colour] :
           {std::pair{NoteText(cell.Note), NoteColour}, std::pair{InstrumentText(cell.Instrument), InstrumentColour},
            std::pair{VolumeText(cell.VolumeColumn), VolumeColour},
            std::pair{EffectText(cell.Effect, cell.Parameter), EffectColour}}) {
        Painter.Text(text, x, y, scale, text.front() == '.' ? Faint : colour);
        x += (static_cast<int>(text.size()) + 1) * glyph;
      }
    }
  }
}
