#pragma once
// One video frame of a module: the song's lines, a trigger-stabilised scope
// per channel, and the pattern around the playing row, all from the mix's
// state at the frame's time.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tarnxm/tarnxm.h"
#include "tools/module_video/channel_scopes.h"
#include "tools/module_video/scope_trigger.h"
#include "tools/module_video/video_layout.h"
#include "tools/module_video/video_painter.h"

// What the frames say of the whole song.
struct TSongCaption {
  std::string Title;  // the song's own, else the file's name
  double EndSeconds = 0;
};

// The trace a scope shows: this long a stretch of the channel around the
// frame's time, moved by up to half as much again to its trigger.
constexpr double ScopeSeconds = 0.04;

class TModuleFrame {
 public:
  // Needs a current context of that size.
  TModuleFrame(std::shared_ptr<const TTarnXMSong> song, TSongCaption caption, int width, int height, int sampleRate);

  bool Ok() const { return Painter.Ok(); }
  const TVideoLayout& Layout() const { return Layout_; }
  std::size_t ScopeFrames() const { return TraceFrames; }

  // Draws the frame whose time is sample frame `at` of the render, where
  // the mix's state is `state`.
  void Draw(const TTarnXMFrameInfo& state, TChannelScopes& scopes, std::int64_t at);

 private:
  void DrawHeader(const TTarnXMFrameInfo& state) const;
  void DrawScopes(const TTarnXMFrameInfo& state, TChannelScopes& scopes, std::int64_t at);
  void DrawPattern(const TTarnXMFrameInfo& state) const;

  std::shared_ptr<const TTarnXMSong> Song;
  TTarnXMSongInfo SongInfo;
  TSongCaption Caption;
  TVideoLayout Layout_;
  TVideoPainter Painter;
  std::size_t TraceFrames;
  std::vector<TScopeTrigger> Triggers;
  std::vector<float> Values;
};
