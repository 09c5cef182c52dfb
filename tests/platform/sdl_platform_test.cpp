// The SDL platform on a real (virtual) display: window, context, and the
// translation of SDL's events into the Windows messages the shell expects.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <vector>

#include "platform/sdl/sdl_platform.h"

using namespace platform;

namespace {

std::vector<TMessage> Dispatched;

TLResult RecordingProc(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam) {
  Dispatched.push_back({window, message, wParam, lParam});
  return 0;
}

class SdlPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dispatched.clear();
    TWindowClass windowClass;
    windowClass.WindowProc = RecordingProc;
    windowClass.ClassName = "OpenGL";
    ASSERT_TRUE(Sdl.RegisterClass(windowClass));
    Window = Sdl.CreateWindowEx(WS_EX_APPWINDOW, "OpenGL", "DRIFTLOW", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, 0);
    ASSERT_NE(Window, 0u);
  }

  std::vector<TMessage> Drain() {
    std::vector<TMessage> messages;
    TMessage message;
    while (Sdl.PeekMessage(message)) messages.push_back(message);
    return messages;
  }

  static void PushKey(Uint32 type, SDL_Keycode key, bool repeat = false) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.repeat = repeat ? 1 : 0;
    SDL_PushEvent(&event);
  }

  TSdlPlatform Sdl;
  THandle Window = 0;
};

TEST_F(SdlPlatformTest, ContextIsMadeAndReleasedThroughTheWindowsSteps) {
  EXPECT_EQ(Dispatched.size(), 1u);
  EXPECT_EQ(Dispatched[0].Message, WM_CREATE);
  const THandle dc = Sdl.GetDC(Window);
  ASSERT_NE(dc, 0u);
  TPixelFormat format;
  format.Flags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.DepthBits = 16;
  const int index = Sdl.ChoosePixelFormat(dc, format);
  ASSERT_NE(index, 0);
  ASSERT_TRUE(Sdl.SetPixelFormat(dc, index, format));
  const THandle rc = Sdl.CreateContext(dc);
  ASSERT_NE(rc, 0u);
  EXPECT_TRUE(Sdl.MakeCurrent(dc, rc));
  EXPECT_TRUE(Sdl.SwapBuffers(dc));
  EXPECT_TRUE(Sdl.MakeCurrent(dc, 0));
  EXPECT_TRUE(Sdl.DeleteContext(rc));
  EXPECT_FALSE(Sdl.DeleteContext(0));
  EXPECT_TRUE(Sdl.ReleaseDC(Window, dc));
  EXPECT_TRUE(Sdl.DestroyWindow(Window));
  EXPECT_FALSE(Sdl.DestroyWindow(Window));
  EXPECT_TRUE(Sdl.UnregisterClass("OpenGL", 0));
  EXPECT_FALSE(Sdl.UnregisterClass("OpenGL", 0));
}

TEST_F(SdlPlatformTest, KeysArriveAsVirtualKeyMessagesWithAutoRepeatAsMoreKeyDowns) {
  Drain();
  PushKey(SDL_KEYDOWN, SDLK_SPACE);
  PushKey(SDL_KEYDOWN, SDLK_SPACE, true);
  PushKey(SDL_KEYUP, SDLK_SPACE);
  PushKey(SDL_KEYDOWN, SDLK_F5);
  PushKey(SDL_KEYDOWN, SDLK_q);
  const auto messages = Drain();
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[0].Message, WM_KEYDOWN);
  EXPECT_EQ(messages[0].WParam, VK_SPACE);
  EXPECT_EQ(messages[1].Message, WM_KEYDOWN);
  EXPECT_EQ(messages[2].Message, WM_KEYUP);
  EXPECT_EQ(messages[3].WParam, VK_F5);
  EXPECT_EQ(messages[4].WParam, TWParam{'Q'});
}

TEST_F(SdlPlatformTest, QuitRequestsBecomeWmQuitAndPostedQuitsComeLast) {
  Drain();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  auto messages = Drain();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Message, WM_QUIT);

  Sdl.PostQuitMessage(3);
  PushKey(SDL_KEYDOWN, SDLK_UP);
  messages = Drain();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].WParam, VK_UP);
  EXPECT_EQ(messages[1].Message, WM_QUIT);
  EXPECT_EQ(messages[1].WParam, 3u);
}

TEST_F(SdlPlatformTest, TimerMessagesComeWhenDueAndOnlyOnAnEmptyQueue) {
  Drain();
  ASSERT_TRUE(Sdl.SetTimer(Window, 1, 50));
  TMessage message;
  EXPECT_FALSE(Sdl.PeekMessage(message));
  SDL_Delay(60);
  PushKey(SDL_KEYDOWN, SDLK_DOWN);
  ASSERT_TRUE(Sdl.PeekMessage(message));
  EXPECT_EQ(message.Message, WM_KEYDOWN);
  ASSERT_TRUE(Sdl.PeekMessage(message));
  EXPECT_EQ(message.Message, WM_TIMER);
  EXPECT_EQ(message.WParam, 1u);
  EXPECT_FALSE(Sdl.PeekMessage(message));
}

TEST(VirtualKeyTest, TheIntrosKeysLettersAndDigitsMap) {
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_ESCAPE), 27u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_SPACE), 32u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_UP), 38u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_DOWN), 40u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F5), 116u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), 65u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_z), 90u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_0), 48u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_9), 57u);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_CAPSLOCK), 0u);
}

}  // namespace
