#include "platform/offscreen_context.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace platform {

struct TOffscreenContext::TState {
  SDL_Window* Window = nullptr;
  SDL_GLContext Context = nullptr;
};

TOffscreenContext::TOffscreenContext(int width, int height)
    : State(std::make_unique<TState>()), Width_(width), Height_(height) {
  // Without a display, SDL's offscreen driver draws through EGL with the same
  // renderer, to the same pixels; asked for by name, it spares the error lines
  // of the display drivers that SDL would try first.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    Error_ = std::string("no display: ") + SDL_GetError();
    return;
  }
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  State->Window = SDL_CreateWindow("DRIFTLOW", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!State->Window) {
    Error_ = std::string("no window: ") + SDL_GetError();
    return;
  }
  State->Context = SDL_GL_CreateContext(State->Window);
  if (!State->Context || SDL_GL_MakeCurrent(State->Window, State->Context) != 0) {
    Error_ = std::string("no OpenGL context: ") + SDL_GetError();
    return;
  }
  Ok_ = true;
}

TOffscreenContext::~TOffscreenContext() {
  if (State->Context) {
    SDL_GL_MakeCurrent(State->Window, nullptr);
    SDL_GL_DeleteContext(State->Context);
  }
  if (State->Window) SDL_DestroyWindow(State->Window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace platform
