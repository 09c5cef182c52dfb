#pragma once
// A song as its text score describes it: instruments as synthesiser
// parameters, tracks (one channel's cells for a number of rows), patterns that
// lay tracks end to end on each channel, and the order list.
#include <map>
#include <string>
#include <vector>

#include "tools/xm_writer/xm_song.h"

struct TScoreInstrument {
  int Number = 0;
  std::string Name;
  std::string Synth;
  std::map<std::string, std::string> SynthParams;
  int Bits = 16;
  int Volume = 64;
  int Panning = 128;
  TXmEnvelope VolumeEnvelope;
  TXmEnvelope PanningEnvelope;
  int FadeOut = 0;
  int VibratoType = 0;
  int VibratoSweep = 0;
  int VibratoDepth = 0;
  int VibratoRate = 0;
  int Line = 0;
};

struct TScoreTrack {
  std::string Name;
  int Rows = 0;
  std::map<int, TXmCell> Cells;  // by row
  int Line = 0;
};

// One piece of a channel's run through a pattern: a track, moved by a number
// of semitones, or a rest of `Rows` empty rows when the track name is empty.
// An echo plays the track `Delay` rows late, cut at the pattern's end, with
// its notes on another instrument; it takes no rows of the channel's run.
struct TTrackUse {
  std::string Track;
  int Transpose = 0;
  int Rows = 0;
  int Instrument = 0;  // 0 keeps the track's
  int Delay = 0;
};

struct TScorePattern {
  std::string Name;
  int Rows = 64;
  std::vector<std::vector<TTrackUse>> Channels;  // by channel, pieces in order
  int Line = 0;
};

struct TScore {
  std::string Title;
  std::vector<std::string> ChannelNames;
  int Speed = 6;
  int Tempo = 125;
  int Restart = 0;
  bool LinearFrequency = true;
  bool ExtendedFilterRange = false;
  std::string Message;
  std::map<int, std::string> Macros;  // macro table slot 0..152 -> text
  std::vector<TScoreInstrument> Instruments;
  std::vector<TScoreTrack> Tracks;
  std::vector<TScorePattern> Patterns;
  std::vector<std::string> Orders;
};
