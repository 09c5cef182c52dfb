#pragma once
// The Windows constants and records the shell speaks in. The values are those of
// the Windows headers, so the shell's code reads like the Win32 program it mirrors.
#include <cstdint>

namespace platform {

using THandle = std::uintptr_t;  // window, device context, rendering context, instance
using TWParam = std::uintptr_t;
using TLParam = std::intptr_t;
using TLResult = std::intptr_t;
using TWindowProc = TLResult (*)(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam);

constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_TIMER = 0x0113;

constexpr std::uint32_t VK_ESCAPE = 27;
constexpr std::uint32_t VK_SPACE = 32;
constexpr std::uint32_t VK_UP = 38;
constexpr std::uint32_t VK_DOWN = 40;
constexpr std::uint32_t VK_F5 = 116;

constexpr std::uint32_t CS_VREDRAW = 0x0001;
constexpr std::uint32_t CS_HREDRAW = 0x0002;
constexpr std::uint32_t CS_OWNDC = 0x0020;

constexpr std::uint32_t WS_EX_WINDOWEDGE = 0x00000100;
constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr std::uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000;

constexpr std::uint32_t MB_OK = 0x00000000;
constexpr std::uint32_t MB_ICONERROR = 0x00000010;
constexpr std::uint32_t MB_ICONINFORMATION = 0x00000040;

constexpr std::uint32_t DM_BITSPERPEL = 0x00040000;
constexpr std::uint32_t DM_PELSWIDTH = 0x00080000;
constexpr std::uint32_t DM_PELSHEIGHT = 0x00100000;
constexpr std::uint32_t CDS_FULLSCREEN = 0x00000004;
constexpr std::int32_t DISP_CHANGE_SUCCESSFUL = 0;
constexpr std::int32_t DISP_CHANGE_FAILED = -1;

constexpr std::uint32_t PFD_DOUBLEBUFFER = 0x00000001;
constexpr std::uint32_t PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr std::uint32_t PFD_SUPPORT_OPENGL = 0x00000020;
constexpr std::uint8_t PFD_TYPE_RGBA = 0;
constexpr std::uint8_t PFD_MAIN_PLANE = 0;

constexpr std::uint32_t RT_RCDATA = 10;

struct TMessage {
  THandle Window = 0;
  std::uint32_t Message = 0;
  TWParam WParam = 0;
  TLParam LParam = 0;
};

// The fields of DEVMODE that a display-mode change uses; the rest are zero.
struct TDisplayMode {
  std::uint32_t Size = 0;
  std::uint32_t Fields = 0;
  std::uint32_t BitsPerPel = 0;
  std::uint32_t PelsWidth = 0;
  std::uint32_t PelsHeight = 0;
};

// PIXELFORMATDESCRIPTOR reduced to the fields that are not zero here.
struct TPixelFormat {
  std::uint16_t Size = 0;
  std::uint16_t Version = 0;
  std::uint32_t Flags = 0;
  std::uint8_t PixelType = 0;
  std::uint8_t ColorBits = 0;
  std::uint8_t DepthBits = 0;
  std::uint8_t LayerType = 0;
};

struct TWindowClass {
  std::uint32_t Style = 0;
  TWindowProc WindowProc = nullptr;
  THandle Instance = 0;
  const char* ClassName = nullptr;
};

inline std::uint16_t LoWord(TLParam value) { return static_cast<std::uint16_t>(value & 0xFFFF); }
inline std::uint16_t HiWord(TLParam value) { return static_cast<std::uint16_t>((value >> 16) & 0xFFFF); }

}  // namespace platform
