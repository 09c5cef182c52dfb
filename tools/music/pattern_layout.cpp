#include "tools/music/pattern_layout.h"

#include "tools/music/cell_notation.h"

namespace {

const TScoreTrack* FindTrack(const TScore& score, const std::string& name) {
  for (const TScoreTrack& track : score.Tracks)
    if (track.Name == name) return &track;
  return nullptr;
}

}  // namespace

TPatternLayout LayOutPattern(const TScore& score, const TScorePattern& pattern) {
  TPatternLayout layout;
  const std::size_t channels = score.ChannelNames.size();
  layout.Cells.resize(static_cast<std::size_t>(pattern.Rows) * channels);
  const std::string where = "pattern '" + pattern.Name + "' (line " + std::to_string(pattern.Line) + ")";
  for (std::size_t channel = 0; channel < pattern.Channels.size(); ++channel) {
    int row = 0;
    for (const TTrackUse& use : pattern.Channels[channel]) {
      if (use.Track.empty()) {
        row += use.Rows;
        continue;
      }
      const TScoreTrack* track = FindTrack(score, use.Track);
      if (!track) {
        layout.Error = where + " uses no track '" + use.Track + "'";
        return layout;
      }
      const int start = row + use.Delay;
      for (const auto& [trackRow, source] : track->Cells) {
        if (start + trackRow >= pattern.Rows) break;
        TXmCell cell = source;
        if (use.Instrument && cell.Instrument) cell.Instrument = static_cast<std::uint8_t>(use.Instrument);
        if (cell.Note >= 1 && cell.Note <= 96) {
          const int note = cell.Note + use.Transpose;
          if (note < 1 || note > 96) {
            layout.Error = where + " moves a note of '" + use.Track + "' out of C-0..B-7";
            return layout;
          }
          cell.Note = static_cast<std::uint8_t>(note);
        }
        layout.Cells[static_cast<std::size_t>(start + trackRow) * channels + channel] = cell;
      }
      if (!use.Delay) row += track->Rows;
    }
    if (row > pattern.Rows) {
      layout.Error = where + " runs channel '" + score.ChannelNames[channel] + "' to " + std::to_string(row) +
                     " rows, past its " + std::to_string(pattern.Rows);
      return layout;
    }
  }
  return layout;
}
