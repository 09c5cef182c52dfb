#pragma once
// The shell on the real Win32 platform, recorded: the intro's own start-up
// runs, with a device for the music that is never there.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/wave_out.h"
#include "platform/win32/windows_api.h"
#include "shell/render_window.h"
#include "shell/shell_state.h"
#include "tests/platform/win32/recording_platform.h"

class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetShellState();
    platform::SetPlatform(&Recorder);
    platform::SetWaveOutFactory(platform::CreateNullWaveOut);
  }

  void TearDown() override {
    if (WindowHandle) DestroyRenderWindow(true);
    platform::SetPlatform(nullptr);
    ResetShellState();
  }

  // What the main loop does with messages, for the given time.
  void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
      platform::TMessage message;
      if (!platform::Platform().PeekMessage(message)) {
        Sleep(5);
        continue;
      }
      if (message.Message == platform::WM_QUIT) QuitSeen = true;
      platform::Platform().TranslateMessage(message);
      platform::Platform().DispatchMessage(message);
    }
  }

  static HWND Window() { return reinterpret_cast<HWND>(WindowHandle); }

  static std::string WindowText() {
    char text[256] = "";
    GetWindowTextA(Window(), text, sizeof text);
    return text;
  }

  static void ExpectScreen(int width, int height) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), width) << "run on a " << width << "x" << height << " screen";
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), height) << "run on a " << width << "x" << height << " screen";
  }

  platform::TRecordingPlatform Recorder;
  bool QuitSeen = false;
};
