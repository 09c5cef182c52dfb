#include "tools/music/score_parser.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "tools/music/cell_notation.h"

namespace {

using TWords = std::vector<std::string>;

// Words split at blanks; a double-quoted run is one word without its quotes.
TWords SplitWords(const std::string& line) {
  TWords words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
    } else if (line[i] == '#') {
      break;
    } else if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      const std::size_t end = close == std::string::npos ? line.size() : close;
      words.push_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      const std::size_t end = line.find_first_of(" \t\r", i);
      words.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
      i = end == std::string::npos ? line.size() : end;
    }
  }
  return words;
}

bool ParseInteger(const std::string& text, int low, int high, int& value, int base = 10) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, base);
  if (*end != '\0' || number < low || number > high) return false;
  value = static_cast<int>(number);
  return true;
}

// `key=value` into key and value; false without the '='.
bool SplitAssignment(const std::string& word, std::string& key, std::string& value) {
  const std::size_t equals = word.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  key = word.substr(0, equals);
  value = word.substr(equals + 1);
  return true;
}

class TParser {
 public:
  explicit TParser(const std::string& text) {
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) Lines.push_back(line);
  }

  TScoreParseResult Run() {
    while (Error.empty() && Next < Lines.size()) {
      const TWords words = SplitWords(Lines[Next++]);
      CurrentLine = static_cast<int>(Next);
      if (!words.empty()) Statement(words);
    }
    if (Error.empty()) Check();
    return {std::move(Score), Error};
  }

 private:
  std::vector<std::string> Lines;
  std::size_t Next = 0;
  int CurrentLine = 0;  // 1-based; 0 for the score as a whole
  TScore Score;
  std::string Error;

  void Fail(const std::string& message) {
    if (Error.empty()) Error = (CurrentLine ? "line " + std::to_string(CurrentLine) + ": " : "") + message;
  }

  void Statement(const TWords& words) {
    const std::string& keyword = words[0];
    if (keyword == "title" && words.size() == 2) Score.Title = words[1];
    else if (keyword == "channels" && words.size() >= 2) Score.ChannelNames.assign(words.begin() + 1, words.end());
    else if (keyword == "speed" && words.size() == 2) Number(words[1], 1, 31, Score.Speed);
    else if (keyword == "tempo" && words.size() == 2) Number(words[1], 32, 255, Score.Tempo);
    else if (keyword == "restart" && words.size() == 2) Number(words[1], 0, 255, Score.Restart);
    else if (keyword == "flags") Flags(words);
    else if (keyword == "macro") Macro(words);
    else if (keyword == "order") Score.Orders.insert(Score.Orders.end(), words.begin() + 1, words.end());
    else if (keyword == "message" && words.size() == 1) Message();
    else if (keyword == "instrument" && words.size() == 3) Instrument(words);
    else if (keyword == "track" && words.size() == 3) Track(words);
    else if (keyword == "pattern" && words.size() == 3) Pattern(words);
    else Fail("cannot read '" + keyword + "' with " + std::to_string(words.size() - 1) + " arguments");
  }

  void Number(const std::string& text, int low, int high, int& value) {
    if (!ParseInteger(text, low, high, value))
      Fail("'" + text + "' is not a number in " + std::to_string(low) + ".." + std::to_string(high));
  }

  void Flags(const TWords& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
      if (words[i] == "extended-filter-range") Score.ExtendedFilterRange = true;
      else if (words[i] == "amiga-periods") Score.LinearFrequency = false;
      else Fail("unknown flag '" + words[i] + "'");
    }
  }

  // `macro parametered N TEXT` (N 0..15, chosen by EFN) or `macro fixed XX TEXT`
  // (XX the hex parameter 80..FF of the Z effect that runs it).
  void Macro(const TWords& words) {
    int index = 0;
    if (words.size() == 4 && words[1] == "parametered" && ParseInteger(words[2], 0, 15, index))
      Score.Macros[9 + index] = words[3];
    else if (words.size() == 4 && words[1] == "fixed" && ParseInteger(words[2], 0x80, 0xFF, index, 16))
      Score.Macros[25 + index - 0x80] = words[3];
    else Fail("a macro is 'macro parametered 0..15 TEXT' or 'macro fixed 80..FF TEXT'");
  }

  // The block's lines up to `end`, without it.
  std::vector<std::pair<int, TWords>> Block() {
    std::vector<std::pair<int, TWords>> lines;
    while (Next < Lines.size()) {
      TWords words = SplitWords(Lines[Next++]);
      if (words.size() == 1 && words[0] == "end") return lines;
      if (!words.empty()) lines.emplace_back(static_cast<int>(Next), std::move(words));
    }
    Fail("the block has no 'end'");
    return lines;
  }

  void Message() {
    while (Next < Lines.size()) {
      std::string line = Lines[Next++];
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::size_t first = line.find_first_not_of(" \t");
      if (first != std::string::npos && line.substr(first) == "end") return;
      if (!Score.Message.empty()) Score.Message += '\n';
      Score.Message += first == std::string::npos ? "" : line.substr(first);
    }
    Fail("the message has no 'end'");
  }

  void Instrument(const TWords& header) {
    TScoreInstrument instrument;
    instrument.Line = CurrentLine;
    if (!ParseInteger(header[1], 1, 255, instrument.Number, 16)) return Fail("an instrument number is hex 01..FF");
    instrument.Name = header[2];
    for (const auto& [line, words] : Block()) {
      CurrentLine = line;
      InstrumentLine(words, instrument);
    }
    if (instrument.Synth.empty()) Fail("instrument " + header[1] + " has no synth line");
    for (const TScoreInstrument& other : Score.Instruments)
      if (other.Number == instrument.Number) Fail("instrument " + header[1] + " is defined twice");
    Score.Instruments.push_back(std::move(instrument));
  }

  void InstrumentLine(const TWords& words, TScoreInstrument& instrument) {
    const std::string& key = words[0];
    if (key == "synth" && words.size() >= 2) {
      instrument.Synth = words[1];
      for (std::size_t i = 2; i < words.size(); ++i) {
        std::string name, value;
        if (!SplitAssignment(words[i], name, value)) return Fail("synth parameters are name=value");
        instrument.SynthParams[name] = value;
      }
    } else if (key == "bits" && words.size() == 2 && (words[1] == "8" || words[1] == "16")) {
      instrument.Bits = std::atoi(words[1].c_str());
    } else if (key == "volume" && words.size() == 2) {
      Number(words[1], 0, 64, instrument.Volume);
    } else if (key == "panning" && words.size() == 2) {
      Number(words[1], 0, 255, instrument.Panning);
    } else if (key == "fadeout" && words.size() == 2) {
      Number(words[1], 0, 0xFFF, instrument.FadeOut);
    } else if (key == "volume-envelope") {
      Envelope(words, instrument.VolumeEnvelope);
    } else if (key == "panning-envelope") {
      Envelope(words, instrument.PanningEnvelope);
    } else if (key == "auto-vibrato" && words.size() >= 2) {
      AutoVibrato(words, instrument);
    } else {
      Fail("cannot read the instrument line '" + key + "'");
    }
  }

  // `volume-envelope 0:0 8:64 40:32 sustain=2 loop=1-2`: tick:value points.
  void Envelope(const TWords& words, TXmEnvelope& envelope) {
    envelope.Enabled = true;
    for (std::size_t i = 1; i < words.size(); ++i) {
      const std::string& item = words[i];
      std::string key, value;
      int tick = 0, level = 0, first = 0, last = 0;
      if (const std::size_t colon = item.find(':'); colon != std::string::npos) {
        if (!ParseInteger(item.substr(0, colon), 0, 0xFFFF, tick) ||
            !ParseInteger(item.substr(colon + 1), 0, 64, level))
          return Fail("an envelope point is tick:value with a value of 0..64");
        envelope.Points.push_back({static_cast<std::uint16_t>(tick), static_cast<std::uint8_t>(level)});
        continue;
      }
      if (!SplitAssignment(item, key, value)) return Fail("cannot read the envelope item '" + item + "'");
      const std::size_t dash = value.find('-');
      if (key == "sustain" && ParseInteger(value, 0, 11, first)) {
        envelope.SustainEnabled = true;
        envelope.SustainPoint = static_cast<std::uint8_t>(first);
      } else if (key == "loop" && dash != std::string::npos && ParseInteger(value.substr(0, dash), 0, 11, first) &&
                 ParseInteger(value.substr(dash + 1), 0, 11, last)) {
        envelope.LoopEnabled = true;
        envelope.LoopStart = static_cast<std::uint8_t>(first);
        envelope.LoopEnd = static_cast<std::uint8_t>(last);
      } else {
        return Fail("cannot read the envelope item '" + item + "'");
      }
    }
  }

  // `auto-vibrato sine sweep=N depth=N rate=N`
  void AutoVibrato(const TWords& words, TScoreInstrument& instrument) {
    static const std::string types[] = {"sine", "square", "ramp-down", "ramp-up"};
    instrument.VibratoType = -1;
    for (int t = 0; t < 4; ++t)
      if (words[1] == types[t]) instrument.VibratoType = t;
    if (instrument.VibratoType < 0) return Fail("auto-vibrato types are sine, square, ramp-down and ramp-up");
    for (std::size_t i = 2; i < words.size(); ++i) {
      std::string key, value;
      if (!SplitAssignment(words[i], key, value)) return Fail("auto-vibrato settings are name=value");
      int* target = key == "sweep"   ? &instrument.VibratoSweep
                    : key == "depth" ? &instrument.VibratoDepth
                    : key == "rate"  ? &instrument.VibratoRate
                                     : nullptr;
      if (!target) return Fail("auto-vibrato has sweep, depth and rate");
      Number(value, 0, 255, *target);
    }
  }

  // `ROW NOTE [INSTRUMENT [VOLUME [EFFECT]]]`
  void Track(const TWords& header) {
    TScoreTrack track;
    track.Line = CurrentLine;
    track.Name = header[1];
    if (!ParseInteger(header[2], 1, 256, track.Rows)) return Fail("a track has 1..256 rows");
    for (const auto& [line, words] : Block()) {
      CurrentLine = line;
      int row = 0;
      TXmCell cell;
      if (words.size() < 2 || words.size() > 5) return Fail("a track line is ROW NOTE [INSTR [VOLUME [EFFECT]]]");
      if (!ParseInteger(words[0], 0, track.Rows - 1, row))
        return Fail("row '" + words[0] + "' lies outside the track's " + std::to_string(track.Rows) + " rows");
      if (!ParseNote(words[1], cell.Note)) return Fail("'" + words[1] + "' is not a note");
      if (words.size() > 2 && !ParseInstrument(words[2], cell.Instrument))
        return Fail("'" + words[2] + "' is not an instrument");
      if (words.size() > 3 && !ParseVolumeColumn(words[3], cell.VolumeColumn))
        return Fail("'" + words[3] + "' is not a volume column");
      if (words.size() > 4 && !ParseEffect(words[4], cell.Effect, cell.EffectParameter))
        return Fail("'" + words[4] + "' is not an effect");
      if (!track.Cells.emplace(row, cell).second) return Fail("row " + words[0] + " is written twice");
    }
    for (const TScoreTrack& other : Score.Tracks)
      if (other.Name == track.Name) return Fail("track '" + track.Name + "' is defined twice");
    Score.Tracks.push_back(std::move(track));
  }

  // `CHANNEL PIECE...`: a piece is a track name, optionally +N or -N
  // semitones, or _N for N empty rows; TRACK@II>N is its echo on instrument
  // II, N rows late.
  void Pattern(const TWords& header) {
    TScorePattern pattern;
    pattern.Line = CurrentLine;
    pattern.Name = header[1];
    if (!ParseInteger(header[2], 1, 256, pattern.Rows)) return Fail("a pattern has 1..256 rows");
    pattern.Channels.resize(Score.ChannelNames.size());
    for (const auto& [line, words] : Block()) {
      CurrentLine = line;
      std::size_t channel = 0;
      while (channel < Score.ChannelNames.size() && Score.ChannelNames[channel] != words[0]) ++channel;
      if (channel == Score.ChannelNames.size()) return Fail("'" + words[0] + "' is not a channel");
      if (!pattern.Channels[channel].empty()) return Fail("channel '" + words[0] + "' is laid out twice");
      for (std::size_t i = 1; i < words.size(); ++i) {
        TTrackUse use;
        std::string piece = words[i];
        if (const std::size_t at = piece.find('@'); at != std::string::npos) {
          const std::size_t late = piece.find('>', at);
          if (at == 0 || late == std::string::npos ||
              !ParseInteger(piece.substr(at + 1, late - at - 1), 1, 128, use.Instrument, 16) ||
              !ParseInteger(piece.substr(late + 1), 1, 256, use.Delay))
            return Fail("an echo is TRACK@II>ROWS, not '" + piece + "'");
          piece.resize(at);
        }
        const std::size_t sign = piece.find_last_of("+-");
        if (piece[0] == '_') {
          if (!ParseInteger(piece.substr(1), 1, 256, use.Rows)) return Fail("a rest is _1.._256");
        } else if (sign != std::string::npos && sign > 0) {
          use.Track = piece.substr(0, sign);
          if (!ParseInteger(piece.substr(sign), -96, 96, use.Transpose)) return Fail("cannot read '" + piece + "'");
        } else {
          use.Track = piece;
        }
        pattern.Channels[channel].push_back(use);
      }
    }
    for (const TScorePattern& other : Score.Patterns)
      if (other.Name == pattern.Name) return Fail("pattern '" + pattern.Name + "' is defined twice");
    Score.Patterns.push_back(std::move(pattern));
  }

  void Check() {
    CurrentLine = 0;
    if (Score.ChannelNames.empty()) return Fail("the score names no channels");
    if (Score.Orders.empty()) return Fail("the score has no order list");
    if (Score.Restart >= static_cast<int>(Score.Orders.size()))
      return Fail("the restart position lies past the orders");
    for (const std::string& order : Score.Orders) {
      bool found = false;
      for (const TScorePattern& pattern : Score.Patterns) found = found || pattern.Name == order;
      if (!found) return Fail("the order list names no pattern '" + order + "'");
    }
  }
};

}  // namespace

TScoreParseResult ParseScore(const std::string& text) { return TParser(text).Run(); }
