#include "platform/win32/win32_platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/windows_api.h"

namespace platform {
namespace {

// The system calls a class's procedure with its own handle types; the
// intro's procedure takes them as numbers.
TWindowProc ClassProcedure = nullptr;

LRESULT CALLBACK ForwardToClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ClassProcedure) return DefWindowProcA(window, message, wParam, lParam);
  return ClassProcedure(reinterpret_cast<THandle>(window), message, wParam, lParam);
}

HWND Window(THandle window) { return reinterpret_cast<HWND>(window); }
HDC DeviceContext(THandle deviceContext) { return reinterpret_cast<HDC>(deviceContext); }
HGLRC RenderContext(THandle renderContext) { return reinterpret_cast<HGLRC>(renderContext); }
template <typename T>
THandle Handle(T handle) {
  return reinterpret_cast<THandle>(handle);
}

PIXELFORMATDESCRIPTOR Descriptor(const TPixelFormat& format) {
  PIXELFORMATDESCRIPTOR descriptor{};
  descriptor.nSize = format.Size;
  descriptor.nVersion = format.Version;
  descriptor.dwFlags = format.Flags;
  descriptor.iPixelType = format.PixelType;
  descriptor.cColorBits = format.ColorBits;
  descriptor.cDepthBits = format.DepthBits;
  descriptor.iLayerType = format.LayerType;
  return descriptor;
}

// The last message PeekMessage removed, whole: translation and dispatch get
// its time and cursor position too when they are handed that message.
MSG LastPeeked{};

MSG SystemMessage(const TMessage& message) {
  if (Handle(LastPeeked.hwnd) == message.Window && LastPeeked.message == message.Message &&
      LastPeeked.wParam == message.WParam && LastPeeked.lParam == message.LParam)
    return LastPeeked;
  MSG system{};
  system.hwnd = Window(message.Window);
  system.message = message.Message;
  system.wParam = message.WParam;
  system.lParam = message.LParam;
  return system;
}

}  // namespace

THandle TWin32Platform::GetModuleHandle() { return Handle(GetModuleHandleA(nullptr)); }

bool TWin32Platform::RegisterClass(const TWindowClass& windowClass) {
  WNDCLASSA system{};
  system.style = windowClass.Style;
  system.lpfnWndProc = ForwardToClassProcedure;
  system.hInstance = reinterpret_cast<HINSTANCE>(windowClass.Instance);
  system.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  system.lpszClassName = windowClass.ClassName;
  ClassProcedure = windowClass.WindowProc;
  return RegisterClassA(&system) != 0;
}

bool TWin32Platform::UnregisterClass(const char* className, THandle instance) {
  return UnregisterClassA(className, reinterpret_cast<HINSTANCE>(instance)) != 0;
}

std::int32_t TWin32Platform::ChangeDisplaySettings(const TDisplayMode* mode, std::uint32_t flags) {
  if (!mode) return ChangeDisplaySettingsA(nullptr, flags);
  DEVMODEA system;
  std::memset(&system, 0, sizeof system);
  system.dmSize = static_cast<WORD>(mode->Size);
  system.dmFields = mode->Fields;
  system.dmBitsPerPel = mode->BitsPerPel;
  system.dmPelsWidth = mode->PelsWidth;
  system.dmPelsHeight = mode->PelsHeight;
  return ChangeDisplaySettingsA(&system, flags);
}

std::int32_t TWin32Platform::ShowCursor(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

THandle TWin32Platform::CreateWindowEx(std::uint32_t exStyle, const char* className, const char* caption,
                                       std::uint32_t style, int x, int y, int width, int height, THandle instance) {
  return Handle(CreateWindowExA(exStyle, className, caption, style, x, y, width, height, nullptr, nullptr,
                                reinterpret_cast<HINSTANCE>(instance), nullptr));
}

bool TWin32Platform::DestroyWindow(THandle window) { return ::DestroyWindow(Window(window)) != 0; }

THandle TWin32Platform::GetDC(THandle window) { return Handle(::GetDC(Window(window))); }

bool TWin32Platform::ReleaseDC(THandle window, THandle deviceContext) {
  return ::ReleaseDC(Window(window), DeviceContext(deviceContext)) != 0;
}

int TWin32Platform::ChoosePixelFormat(THandle deviceContext, const TPixelFormat& format) {
  const PIXELFORMATDESCRIPTOR descriptor = Descriptor(format);
  return ::ChoosePixelFormat(DeviceContext(deviceContext), &descriptor);
}

bool TWin32Platform::SetPixelFormat(THandle deviceContext, int index, const TPixelFormat& format) {
  const PIXELFORMATDESCRIPTOR descriptor = Descriptor(format);
  return ::SetPixelFormat(DeviceContext(deviceContext), index, &descriptor) != 0;
}

THandle TWin32Platform::CreateContext(THandle deviceContext) {
  return Handle(wglCreateContext(DeviceContext(deviceContext)));
}

bool TWin32Platform::MakeCurrent(THandle deviceContext, THandle renderContext) {
  return wglMakeCurrent(DeviceContext(deviceContext), RenderContext(renderContext)) != 0;
}

bool TWin32Platform::DeleteContext(THandle renderContext) {
  return wglDeleteContext(RenderContext(renderContext)) != 0;
}

bool TWin32Platform::SwapBuffers(THandle deviceContext) { return ::SwapBuffers(DeviceContext(deviceContext)) != 0; }

bool TWin32Platform::SetTimer(THandle window, std::uintptr_t id, std::uint32_t milliseconds) {
  return ::SetTimer(Window(window), id, milliseconds, nullptr) != 0;
}

void TWin32Platform::ShowWindow(THandle window) { ::ShowWindow(Window(window), SW_SHOW); }

void TWin32Platform::SetForegroundWindow(THandle window) { ::SetForegroundWindow(Window(window)); }

void TWin32Platform::SetFocus(THandle window) { ::SetFocus(Window(window)); }

bool TWin32Platform::SetWindowText(THandle window, const std::string& text) {
  return SetWindowTextA(Window(window), text.c_str()) != 0;
}

bool TWin32Platform::PeekMessage(TMessage& message) {
  if (!PeekMessageA(&LastPeeked, nullptr, 0, 0, PM_REMOVE)) return false;
  message.Window = Handle(LastPeeked.hwnd);
  message.Message = LastPeeked.message;
  message.WParam = LastPeeked.wParam;
  message.LParam = LastPeeked.lParam;
  return true;
}

void TWin32Platform::TranslateMessage(const TMessage& message) {
  const MSG system = SystemMessage(message);
  ::TranslateMessage(&system);
}

TLResult TWin32Platform::DispatchMessage(const TMessage& message) {
  const MSG system = SystemMessage(message);
  return DispatchMessageA(&system);
}

void TWin32Platform::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

TLResult TWin32Platform::DefWindowProc(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam) {
  return DefWindowProcA(Window(window), message, wParam, lParam);
}

void TWin32Platform::MessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  const char* messages = std::getenv("DRIFTLOW_MESSAGES");
  if (messages && std::strcmp(messages, "stderr") == 0) return;
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
}

std::uint32_t TWin32Platform::GetTickCount() { return ::GetTickCount(); }

}  // namespace platform
