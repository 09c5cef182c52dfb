#pragma once
// A hidden window with the intro's pixel format and a current OpenGL context,
// for rendering frames that are read back instead of shown; without a
// display, an offscreen surface that gives the same pixels.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The current context's back buffer as RGB bytes, rows top to bottom as on
// screen.
std::vector<std::uint8_t> ReadBackBuffer(int width, int height);

class TOffscreenContext {
 public:
  TOffscreenContext(int width, int height);
  ~TOffscreenContext();
  TOffscreenContext(const TOffscreenContext&) = delete;
  TOffscreenContext& operator=(const TOffscreenContext&) = delete;

  bool Ok() const { return Ok_; }
  const std::string& Error() const { return Error_; }
  int Width() const { return Width_; }
  int Height() const { return Height_; }

  // The back buffer as RGB bytes, rows top to bottom as on screen.
  std::vector<std::uint8_t> ReadPixels() const;

 private:
  struct TState;
  std::unique_ptr<TState> State;
  int Width_;
  int Height_;
  bool Ok_ = false;
  std::string Error_;
};

}  // namespace platform
