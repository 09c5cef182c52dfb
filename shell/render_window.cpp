#include "shell/render_window.h"

#include "platform/gl.h"
#include "platform/platform.h"
#include "shell/intro_hooks.h"
#include "shell/shell_state.h"
#include "shell/window_proc.h"

using namespace platform;

namespace {

constexpr const char* ClassName = "OpenGL";
constexpr const char* Caption = "DRIFTLOW";

void ShowError(const char* text) { Platform().MessageBox(text, "Error", MB_OK | MB_ICONERROR); }

bool FailCreation(bool fullScreen, const char* text) {
  DestroyRenderWindow(fullScreen);
  ShowError(text);
  return false;
}

}  // namespace

void ResizeScene(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / height, 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

bool CreateRenderWindow(int width, int height, bool fullScreen, int colorBits) {
  TPlatform& system = Platform();
  InstanceHandle = system.GetModuleHandle();
  TWindowClass windowClass;
  windowClass.Style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.WindowProc = WindowProc;
  windowClass.Instance = InstanceHandle;
  windowClass.ClassName = ClassName;
  if (!system.RegisterClass(windowClass)) {
    ShowError("Failed to register the window class!");
    return false;
  }

  if (fullScreen) {
    TDisplayMode mode;
    mode.Size = 156;
    mode.PelsWidth = static_cast<std::uint32_t>(width);
    mode.PelsHeight = static_cast<std::uint32_t>(height);
    mode.BitsPerPel = static_cast<std::uint32_t>(colorBits);
    mode.Fields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (system.ChangeDisplaySettings(&mode, CDS_FULLSCREEN) == DISP_CHANGE_FAILED) {
      ShowError("Unable to switch to fullscreen!");
      fullScreen = false;
    }
  }

  std::uint32_t exStyle;
  std::uint32_t style;
  if (fullScreen) {
    exStyle = WS_EX_APPWINDOW;
    style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    system.ShowCursor(false);
  } else {
    exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    style = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  }

  WindowHandle = system.CreateWindowEx(exStyle, ClassName, Caption, style, 0, 0, width, height, InstanceHandle);
  if (!WindowHandle) return FailCreation(fullScreen, "Unable to create window!");

  DeviceContext = system.GetDC(WindowHandle);
  if (!DeviceContext) return FailCreation(fullScreen, "Unable to get a device context!");

  TPixelFormat format;
  format.Size = 40;
  format.Version = 1;
  format.Flags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.PixelType = PFD_TYPE_RGBA;
  format.ColorBits = static_cast<std::uint8_t>(colorBits);
  format.DepthBits = 16;
  format.LayerType = PFD_MAIN_PLANE;
  const int pixelFormat = system.ChoosePixelFormat(DeviceContext, format);
  if (pixelFormat == 0) return FailCreation(fullScreen, "Unable to find a suitable pixel format");
  if (!system.SetPixelFormat(DeviceContext, pixelFormat, format))
    return FailCreation(fullScreen, "Unable to set the pixel format");

  RenderContext = system.CreateContext(DeviceContext);
  if (!RenderContext) return FailCreation(fullScreen, "Unable to create an OpenGL rendering context");
  if (!system.MakeCurrent(DeviceContext, RenderContext))
    return FailCreation(fullScreen, "Unable to activate OpenGL rendering context");

  system.SetTimer(WindowHandle, 1, 1000);
  system.ShowWindow(WindowHandle);
  system.SetForegroundWindow(WindowHandle);
  system.SetFocus(WindowHandle);
  ResizeScene(width, height);
  IntroHooks().InitScene();
  return true;
}

void DestroyRenderWindow(bool fullScreen) {
  TPlatform& system = Platform();
  IntroHooks().ShutdownScene();
  if (fullScreen) {
    system.ChangeDisplaySettings(nullptr, 0);
    system.ShowCursor(true);
  }
  if (!system.MakeCurrent(DeviceContext, 0)) ShowError("Release of DC and RC failed!");
  if (!system.DeleteContext(RenderContext)) {
    ShowError("Release of rendering context failed!");
    RenderContext = 0;
  }
  if (DeviceContext && !system.ReleaseDC(WindowHandle, DeviceContext)) {
    ShowError("Release of device context failed!");
    DeviceContext = 0;
  }
  if (WindowHandle && !system.DestroyWindow(WindowHandle)) {
    ShowError("Unable to destroy window!");
    WindowHandle = 0;
  }
  if (!system.UnregisterClass(ClassName, InstanceHandle)) {
    ShowError("Unable to unregister window class!");
    InstanceHandle = 0;
  }
}
