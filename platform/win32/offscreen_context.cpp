#include "platform/offscreen_context.h"

#include "platform/win32/windows_api.h"

namespace platform {
namespace {

const char OffscreenClass[] = "DRIFTLOW offscreen";

}  // namespace

struct TOffscreenContext::TState {
  HWND Window = nullptr;
  HDC DeviceContext = nullptr;
  HGLRC Context = nullptr;
  bool ClassRegistered = false;
};

// A popup window, never shown, whose client area is the whole size asked for.
TOffscreenContext::TOffscreenContext(int width, int height)
    : State(std::make_unique<TState>()), Width_(width), Height_(height) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = OffscreenClass;
  State->ClassRegistered = RegisterClassA(&windowClass) != 0;
  State->Window = CreateWindowExA(0, OffscreenClass, "DRIFTLOW", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                  width, height, nullptr, nullptr, instance, nullptr);
  if (!State->Window) {
    Error_ = "no window: error " + std::to_string(GetLastError());
    return;
  }
  State->DeviceContext = GetDC(State->Window);
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cDepthBits = 16;
  format.iLayerType = PFD_MAIN_PLANE;
  const int index = State->DeviceContext ? ChoosePixelFormat(State->DeviceContext, &format) : 0;
  if (index == 0 || !SetPixelFormat(State->DeviceContext, index, &format)) {
    Error_ = "no pixel format: error " + std::to_string(GetLastError());
    return;
  }
  State->Context = wglCreateContext(State->DeviceContext);
  if (!State->Context || !wglMakeCurrent(State->DeviceContext, State->Context)) {
    Error_ = "no OpenGL context: error " + std::to_string(GetLastError());
    return;
  }
  Ok_ = true;
}

TOffscreenContext::~TOffscreenContext() {
  if (State->Context) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(State->Context);
  }
  if (State->DeviceContext) ReleaseDC(State->Window, State->DeviceContext);
  if (State->Window) DestroyWindow(State->Window);
  if (State->ClassRegistered) UnregisterClassA(OffscreenClass, GetModuleHandleA(nullptr));
}

}  // namespace platform
