#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {

struct TSdlPlatform::TState {
  TWindowClass Class;
  std::string ClassName;
  bool VideoUp = false;
  bool FullscreenPending = false;
  SDL_DisplayMode FullscreenMode{};
  SDL_Window* Window = nullptr;
  SDL_GLContext Context = nullptr;
  std::deque<TMessage> Queue;
  bool QuitPosted = false;
  int QuitCode = 0;
  std::uintptr_t TimerId = 0;
  std::uint32_t TimerPeriod = 0;
  std::uint32_t TimerDue = 0;
  int CursorCount = 0;
};

namespace {
constexpr THandle Instance = 0x400000;
constexpr THandle WindowId = 1;
constexpr THandle DeviceContextId = 2;
}  // namespace

std::uint32_t VirtualKeyFromSdl(std::int32_t key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<std::uint32_t>(112 + (key - SDLK_F1));
  switch (key) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN: return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 17;
    case SDLK_LALT:
    case SDLK_RALT: return 18;
    case SDLK_PAUSE: return 19;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    default: return 0;
  }
}

TSdlPlatform::TSdlPlatform() : State(std::make_unique<TState>()) {}

TSdlPlatform::~TSdlPlatform() {
  if (State->Context) SDL_GL_DeleteContext(State->Context);
  if (State->Window) SDL_DestroyWindow(State->Window);
  if (State->VideoUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

THandle TSdlPlatform::GetModuleHandle() { return Instance; }

bool TSdlPlatform::RegisterClass(const TWindowClass& windowClass) {
  if (!windowClass.WindowProc || !windowClass.ClassName) return false;
  if (!State->VideoUp) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    State->VideoUp = true;
  }
  State->Class = windowClass;
  State->ClassName = windowClass.ClassName;
  State->Class.ClassName = State->ClassName.c_str();
  return true;
}

bool TSdlPlatform::UnregisterClass(const char* className, THandle) {
  if (!State->VideoUp || !className || State->ClassName != className) return false;
  State->Class = TWindowClass{};
  State->ClassName.clear();
  return true;
}

std::int32_t TSdlPlatform::ChangeDisplaySettings(const TDisplayMode* mode, std::uint32_t) {
  if (!mode) {
    State->FullscreenPending = false;
    if (State->Window) SDL_SetWindowFullscreen(State->Window, 0);
    return DISP_CHANGE_SUCCESSFUL;
  }
  if (!State->VideoUp) return DISP_CHANGE_FAILED;
  // SDL happily "switches" to the nearest mode it has; only the exact size
  // asked for counts as a switch, anything else is a refusal.
  SDL_DisplayMode wanted{};
  wanted.w = static_cast<int>(mode->PelsWidth);
  wanted.h = static_cast<int>(mode->PelsHeight);
  SDL_DisplayMode closest{};
  if (!SDL_GetClosestDisplayMode(0, &wanted, &closest) || closest.w != wanted.w || closest.h != wanted.h)
    return DISP_CHANGE_FAILED;
  State->FullscreenMode = closest;
  State->FullscreenPending = true;
  return DISP_CHANGE_SUCCESSFUL;
}

std::int32_t TSdlPlatform::ShowCursor(bool show) {
  State->CursorCount += show ? 1 : -1;
  if (State->VideoUp) SDL_ShowCursor(State->CursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return State->CursorCount;
}

THandle TSdlPlatform::CreateWindowEx(std::uint32_t, const char* className, const char* caption, std::uint32_t style,
                                     int x, int y, int width, int height, THandle) {
  if (!State->VideoUp || State->Window || !className || State->ClassName != className) return 0;
  // The visual is fixed when an X window is made, so the pixel format that
  // SetPixelFormat will ask for is requested here.
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  const bool popup = (style & WS_POPUP) != 0;
  if (popup) flags |= State->FullscreenPending ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_BORDERLESS;
  if (style & WS_OVERLAPPEDWINDOW) flags |= SDL_WINDOW_RESIZABLE;
  State->Window = SDL_CreateWindow(caption ? caption : "", x, y, width, height, flags);
  if (!State->Window) return 0;
  if (popup && State->FullscreenPending) SDL_SetWindowDisplayMode(State->Window, &State->FullscreenMode);
  TMessage create{WindowId, WM_CREATE, 0, 0};
  DispatchMessage(create);
  return WindowId;
}

bool TSdlPlatform::DestroyWindow(THandle window) {
  if (window != WindowId || !State->Window) return false;
  SDL_DestroyWindow(State->Window);
  State->Window = nullptr;
  State->Queue.clear();
  return true;
}

THandle TSdlPlatform::GetDC(THandle window) { return window == WindowId && State->Window ? DeviceContextId : 0; }

bool TSdlPlatform::ReleaseDC(THandle window, THandle deviceContext) {
  return window == WindowId && deviceContext == DeviceContextId && State->Window;
}

int TSdlPlatform::ChoosePixelFormat(THandle deviceContext, const TPixelFormat& format) {
  if (deviceContext != DeviceContextId || !State->Window) return 0;
  const bool supported =
      (format.Flags & PFD_SUPPORT_OPENGL) && (format.Flags & PFD_DRAW_TO_WINDOW) && format.PixelType == PFD_TYPE_RGBA;
  return supported ? 1 : 0;
}

bool TSdlPlatform::SetPixelFormat(THandle deviceContext, int index, const TPixelFormat& format) {
  if (deviceContext != DeviceContextId || index != 1 || !State->Window) return false;
  return SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (format.Flags & PFD_DOUBLEBUFFER) ? 1 : 0) == 0 &&
         SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.DepthBits) == 0;
}

THandle TSdlPlatform::CreateContext(THandle deviceContext) {
  if (deviceContext != DeviceContextId || !State->Window || State->Context) return 0;
  State->Context = SDL_GL_CreateContext(State->Window);
  if (!State->Context) return 0;
  SDL_GL_MakeCurrent(State->Window, nullptr);
  return reinterpret_cast<THandle>(State->Context);
}

bool TSdlPlatform::MakeCurrent(THandle deviceContext, THandle renderContext) {
  if (renderContext == 0) return SDL_GL_MakeCurrent(State->Window, nullptr) == 0;
  if (deviceContext != DeviceContextId || !State->Window || renderContext != reinterpret_cast<THandle>(State->Context))
    return false;
  return SDL_GL_MakeCurrent(State->Window, State->Context) == 0;
}

bool TSdlPlatform::DeleteContext(THandle renderContext) {
  if (renderContext == 0 || renderContext != reinterpret_cast<THandle>(State->Context)) return false;
  SDL_GL_DeleteContext(State->Context);
  State->Context = nullptr;
  return true;
}

bool TSdlPlatform::SwapBuffers(THandle deviceContext) {
  if (deviceContext != DeviceContextId || !State->Window) return false;
  SDL_GL_SwapWindow(State->Window);
  return true;
}

bool TSdlPlatform::SetTimer(THandle window, std::uintptr_t id, std::uint32_t milliseconds) {
  if (window != WindowId || !State->Window) return false;
  State->TimerId = id;
  State->TimerPeriod = milliseconds;
  State->TimerDue = GetTickCount() + milliseconds;
  return true;
}

void TSdlPlatform::ShowWindow(THandle window) {
  if (window == WindowId && State->Window) SDL_ShowWindow(State->Window);
}

void TSdlPlatform::SetForegroundWindow(THandle window) {
  if (window == WindowId && State->Window) SDL_RaiseWindow(State->Window);
}

void TSdlPlatform::SetFocus(THandle window) {
  if (window == WindowId && State->Window) SDL_SetWindowInputFocus(State->Window);
}

bool TSdlPlatform::SetWindowText(THandle window, const std::string& text) {
  if (window != WindowId || !State->Window) return false;
  SDL_SetWindowTitle(State->Window, text.c_str());
  return true;
}

void TSdlPlatform::PumpEvents() {
  if (!State->VideoUp) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        const std::uint32_t key = VirtualKeyFromSdl(event.key.keysym.sym);
        if (key) State->Queue.push_back({WindowId, event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, key, 0});
        break;
      }
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          const auto w = static_cast<TLParam>(event.window.data1 & 0xFFFF);
          const auto h = static_cast<TLParam>(event.window.data2 & 0xFFFF);
          State->Queue.push_back({WindowId, WM_SIZE, 0, w | (h << 16)});
        } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
          State->Queue.push_back({WindowId, WM_CLOSE, 0, 0});
        }
        break;
      case SDL_QUIT:
        // SIGINT and SIGTERM arrive here: ask the loop to end as WM_QUIT does.
        State->Queue.push_back({0, WM_QUIT, 0, 0});
        break;
      default: break;
    }
  }
}

bool TSdlPlatform::PeekMessage(TMessage& message) {
  PumpEvents();
  if (!State->Queue.empty()) {
    message = State->Queue.front();
    State->Queue.pop_front();
    return true;
  }
  if (State->QuitPosted) {
    State->QuitPosted = false;
    message = {0, WM_QUIT, static_cast<TWParam>(State->QuitCode), 0};
    return true;
  }
  // Like the system's timers, WM_TIMER is made only when the queue is empty,
  // and ticks that were missed collapse into one.
  if (State->TimerPeriod && State->Window && static_cast<std::int32_t>(GetTickCount() - State->TimerDue) >= 0) {
    State->TimerDue = GetTickCount() + State->TimerPeriod;
    message = {WindowId, WM_TIMER, State->TimerId, 0};
    return true;
  }
  return false;
}

void TSdlPlatform::TranslateMessage(const TMessage&) {}

TLResult TSdlPlatform::DispatchMessage(const TMessage& message) {
  if (!State->Class.WindowProc) return 0;
  return State->Class.WindowProc(message.Window, message.Message, message.WParam, message.LParam);
}

void TSdlPlatform::PostQuitMessage(int exitCode) {
  State->QuitPosted = true;
  State->QuitCode = exitCode;
}

TLResult TSdlPlatform::DefWindowProc(THandle, std::uint32_t, TWParam, TLParam) { return 0; }

bool TSdlPlatform::DialogsAllowed() const {
  const char* messages = std::getenv("DRIFTLOW_MESSAGES");
  return State->VideoUp && !(messages && std::strcmp(messages, "stderr") == 0);
}

void TSdlPlatform::MessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  if (!DialogsAllowed()) return;
  const Uint32 kind = (flags & MB_ICONERROR) == MB_ICONERROR ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  SDL_ShowSimpleMessageBox(kind, caption.c_str(), text.c_str(), nullptr);
}

std::uint32_t TSdlPlatform::GetTickCount() { return SDL_GetTicks(); }

}  // namespace platform
