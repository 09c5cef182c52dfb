// The intro's window and context on the real Win32 interfaces, under Wine on
// a virtual screen: the creation path and the teardown in their order, the
// refused display switch, the title from the timer and keys through the
// window procedure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gl.h"
#include "shell/shell_state.h"
#include "tests/platform/win32/win32_window_fixture.h"

using namespace platform;
using Calls = std::vector<std::string>;

TEST_F(Win32WindowTest, FullScreenCreationRunsInOrderAndTeardownReleasesInOrder) {
  ExpectScreen(800, 600);
  ASSERT_TRUE(CreateRenderWindow(800, 600, true, 32));
  EXPECT_EQ(Recorder.Calls,
            (Calls{"GetModuleHandle", "RegisterClass", "ChangeDisplaySettings -> 0", "ShowCursor(false)",
                   "CreateWindowEx", "GetDC", "ChoosePixelFormat", "SetPixelFormat", "CreateContext", "MakeCurrent",
                   "SetTimer", "ShowWindow", "SetForegroundWindow", "SetFocus"}));
  EXPECT_TRUE(Recorder.MessageBoxes.empty());

  char className[32] = "";
  GetClassNameA(Window(), className, sizeof className);
  EXPECT_STREQ(className, "OpenGL");
  EXPECT_EQ(WindowText(), "DRIFTLOW");
  EXPECT_EQ(static_cast<DWORD>(GetClassLongPtrA(Window(), GCL_STYLE)), DWORD{CS_HREDRAW | CS_VREDRAW | CS_OWNDC});
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Window(), GWL_STYLE));
  EXPECT_EQ(style & (WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            DWORD{WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN});
  EXPECT_EQ(style & WS_CAPTION, 0u);
  EXPECT_NE(GetWindowLongPtrA(Window(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  RECT client;
  GetClientRect(Window(), &client);
  EXPECT_EQ(client.right - client.left, 800);
  EXPECT_EQ(client.bottom - client.top, 600);

  // The context is current, on a double-buffered format with a depth buffer.
  const HDC dc = reinterpret_cast<HDC>(DeviceContext);
  EXPECT_EQ(wglGetCurrentContext(), reinterpret_cast<HGLRC>(RenderContext));
  PIXELFORMATDESCRIPTOR format{};
  ASSERT_NE(DescribePixelFormat(dc, GetPixelFormat(dc), sizeof format, &format), 0);
  EXPECT_EQ(format.dwFlags & (PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER),
            DWORD{PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER});
  EXPECT_GE(format.cDepthBits, 16);
  EXPECT_NE(glGetString(GL_VERSION), nullptr);
  // The start-up ran on it: both pictures from the resources, the generated
  // texture and the mesh.
  EXPECT_NE(LogoTexture, 0u);
  EXPECT_NE(FontTexture, 0u);
  EXPECT_NE(GeneratedTexture, 0u);
  EXPECT_NE(MeshList, 0u);

  const HWND window = Window();
  Recorder.Calls.clear();
  DestroyRenderWindow(true);
  EXPECT_EQ(Recorder.Calls, (Calls{"ChangeDisplaySettings(default) -> 0", "ShowCursor(true)", "MakeCurrent(none)",
                                   "DeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClass"}));
  EXPECT_TRUE(Recorder.MessageBoxes.empty());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  WNDCLASSA unregistered;
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "OpenGL", &unregistered));
}

// Only DISP_CHANGE_FAILED counts as a refusal: the system's "bad mode" is
// not reported, and the full-screen styles are used at the screen's own mode.
TEST_F(Win32WindowTest, ABadModeIsNotReportedAndTheFullScreenStylesStay) {
  ExpectScreen(1024, 768);
  ASSERT_TRUE(CreateRenderWindow(800, 600, true, 32));
  EXPECT_EQ(Recorder.Calls[2], "ChangeDisplaySettings -> " + std::to_string(DISP_CHANGE_BADMODE));
  EXPECT_EQ(Recorder.Calls[3], "ShowCursor(false)");
  EXPECT_TRUE(Recorder.MessageBoxes.empty());
  EXPECT_NE(GetWindowLongPtrA(Window(), GWL_STYLE) & WS_POPUP, 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);

  Recorder.Calls.clear();
  DestroyRenderWindow(true);
  ASSERT_GE(Recorder.Calls.size(), 2u);
  EXPECT_EQ(Recorder.Calls[0], "ChangeDisplaySettings(default) -> 0");
  EXPECT_EQ(Recorder.Calls[1], "ShowCursor(true)");
  EXPECT_TRUE(Recorder.MessageBoxes.empty());
}

TEST_F(Win32WindowTest, AWindowHasTheOverlappedStylesAndLeavesTheDisplayAndCursorAlone) {
  ASSERT_TRUE(CreateRenderWindow(800, 600, false, 32));
  EXPECT_EQ(Recorder.Calls[2], "CreateWindowEx");
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Window(), GWL_STYLE));
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, DWORD{WS_OVERLAPPEDWINDOW});
  EXPECT_EQ(style & WS_POPUP, 0u);
  const LONG_PTR exStyle = GetWindowLongPtrA(Window(), GWL_EXSTYLE);
  EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE), LONG_PTR{WS_EX_APPWINDOW | WS_EX_WINDOWEDGE});
  // The requested size is the outer one: the client area is smaller.
  RECT outer;
  RECT client;
  GetWindowRect(Window(), &outer);
  GetClientRect(Window(), &client);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(outer.right - outer.left, 800);
  EXPECT_LT(client.bottom, 600);
  EXPECT_TRUE(Recorder.MessageBoxes.empty());
}

TEST_F(Win32WindowTest, TheTimerPutsTheFramesOfEachSecondIntoTheTitle) {
  ASSERT_TRUE(CreateRenderWindow(800, 600, false, 32));
  FrameCount = 42;
  PumpMessages(1300);
  EXPECT_EQ(WindowText(), "DRIFTLOW   [42 FPS]");
  EXPECT_EQ(FrameCount, 0);
  FrameCount = 7;
  PumpMessages(1100);
  EXPECT_EQ(WindowText(), "DRIFTLOW   [7 FPS]");
}

TEST_F(Win32WindowTest, KeysAndCloseGoThroughTheWindowProcedure) {
  ASSERT_TRUE(CreateRenderWindow(800, 600, false, 32));
  PostMessageA(Window(), WM_KEYDOWN, VK_SPACE, 0);
  PostMessageA(Window(), WM_KEYDOWN, VK_F5, 0);
  PumpMessages(100);
  EXPECT_TRUE(Keys[VK_SPACE]);
  EXPECT_TRUE(Keys[VK_F5]);
  PostMessageA(Window(), WM_KEYUP, VK_SPACE, 0);
  PumpMessages(100);
  EXPECT_FALSE(Keys[VK_SPACE]);
  EXPECT_TRUE(Keys[VK_F5]);
  EXPECT_FALSE(QuitSeen);
  PostMessageA(Window(), WM_CLOSE, 0, 0);
  PumpMessages(100);
  EXPECT_TRUE(QuitSeen);
}
