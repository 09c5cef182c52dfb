#include <gtest/gtest.h>

#include "shell/main_loop.h"
#include "shell/render_window.h"
#include "tests/shell/shell_fixture.h"

using namespace platform;
using Strings = std::vector<std::string>;

TEST_F(ShellTest, CreationSucceedsWithTheIntrosClassModeStylesAndPixelFormat) {
  ASSERT_TRUE(CreateRenderWindow(800, 600, true, 32));
  EXPECT_EQ(Fake.RegisteredClass.Style, 0x23u);
  EXPECT_STREQ(Fake.RegisteredClass.ClassName, "OpenGL");
  EXPECT_EQ(Fake.RequestedMode.Size, 156u);
  EXPECT_EQ(Fake.RequestedMode.PelsWidth, 800u);
  EXPECT_EQ(Fake.RequestedMode.PelsHeight, 600u);
  EXPECT_EQ(Fake.RequestedMode.BitsPerPel, 32u);
  EXPECT_EQ(Fake.RequestedMode.Fields, DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT);
  EXPECT_EQ(Fake.WindowExStyle, WS_EX_APPWINDOW);
  EXPECT_EQ(Fake.WindowStyle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  EXPECT_EQ(Fake.RequestedFormat.Size, 40);
  EXPECT_EQ(Fake.RequestedFormat.Version, 1);
  EXPECT_EQ(Fake.RequestedFormat.Flags, 0x25u);
  EXPECT_EQ(Fake.RequestedFormat.ColorBits, 32);
  EXPECT_EQ(Fake.RequestedFormat.DepthBits, 16);
  EXPECT_EQ(Fake.Calls, (Strings{"RegisterClass", "ChangeDisplaySettings", "ShowCursor(false)", "CreateWindowEx",
                                 "GetDC", "ChoosePixelFormat", "SetPixelFormat", "CreateContext", "MakeCurrent",
                                 "SetTimer", "ShowWindow", "SetForegroundWindow", "SetFocus", "InitScene"}));
  EXPECT_TRUE(Fake.MessageBoxes.empty());
}

struct CreationFailure {
  const char* FailingCall;
  Strings Messages;
  Strings TeardownCalls;  // after the failing call
};

class CreationFailureTest : public ShellTest, public ::testing::WithParamInterface<CreationFailure> {};

TEST_P(CreationFailureTest, TearsDownThenReportsInOrder) {
  const CreationFailure& row = GetParam();
  Fake.Failing.insert(row.FailingCall);
  EXPECT_FALSE(CreateRenderWindow(800, 600, true, 32));
  EXPECT_EQ(Fake.MessageBoxes, row.Messages);
  for (std::uint32_t flags : Fake.MessageBoxFlags) EXPECT_EQ(flags, MB_OK | MB_ICONERROR);
  Strings after = CallsFrom(row.FailingCall);
  after.erase(after.begin());
  EXPECT_EQ(after, row.TeardownCalls);
  EXPECT_FALSE(Fake.Called("InitScene"));
}

const std::string ReleaseFailed = "Error: Release of rendering context failed!";

INSTANTIATE_TEST_SUITE_P(
    EveryStep, CreationFailureTest,
    ::testing::Values(
        CreationFailure{"RegisterClass",
                        {"Error: Failed to register the window class!"},
                        {"MessageBox(Error: Failed to register the window class!)"}},
        CreationFailure{"CreateWindowEx",
                        {ReleaseFailed, "Error: Unable to create window!"},
                        {"ShutdownScene", "RestoreDisplaySettings", "ShowCursor(true)", "MakeCurrent(none)",
                         "DeleteContext", "MessageBox(Error: Release of rendering context failed!)", "UnregisterClass",
                         "MessageBox(Error: Unable to create window!)"}},
        CreationFailure{"GetDC",
                        {ReleaseFailed, "Error: Unable to get a device context!"},
                        {"ShutdownScene", "RestoreDisplaySettings", "ShowCursor(true)", "MakeCurrent(none)",
                         "DeleteContext", "MessageBox(Error: Release of rendering context failed!)", "DestroyWindow",
                         "UnregisterClass", "MessageBox(Error: Unable to get a device context!)"}},
        CreationFailure{
            "ChoosePixelFormat",
            {ReleaseFailed, "Error: Unable to find a suitable pixel format"},
            {"ShutdownScene", "RestoreDisplaySettings", "ShowCursor(true)", "MakeCurrent(none)", "DeleteContext",
             "MessageBox(Error: Release of rendering context failed!)", "ReleaseDC", "DestroyWindow", "UnregisterClass",
             "MessageBox(Error: Unable to find a suitable pixel format)"}},
        CreationFailure{"SetPixelFormat",
                        {ReleaseFailed, "Error: Unable to set the pixel format"},
                        {"ShutdownScene", "RestoreDisplaySettings", "ShowCursor(true)", "MakeCurrent(none)",
                         "DeleteContext", "MessageBox(Error: Release of rendering context failed!)", "ReleaseDC",
                         "DestroyWindow", "UnregisterClass", "MessageBox(Error: Unable to set the pixel format)"}},
        CreationFailure{
            "CreateContext",
            {ReleaseFailed, "Error: Unable to create an OpenGL rendering context"},
            {"ShutdownScene", "RestoreDisplaySettings", "ShowCursor(true)", "MakeCurrent(none)", "DeleteContext",
             "MessageBox(Error: Release of rendering context failed!)", "ReleaseDC", "DestroyWindow", "UnregisterClass",
             "MessageBox(Error: Unable to create an OpenGL rendering context)"}},
        CreationFailure{"MakeCurrent",
                        {"Error: Unable to activate OpenGL rendering context"},
                        {"ShutdownScene", "RestoreDisplaySettings", "ShowCursor(true)", "MakeCurrent(none)",
                         "DeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClass",
                         "MessageBox(Error: Unable to activate OpenGL rendering context)"}}));

TEST_F(ShellTest, RefusedSwitchFallsBackToAWindowAndStillRestoresAtExit) {
  Fake.DisplayChangeResult = DISP_CHANGE_FAILED;
  Fake.OnEmptyQueue = [this] { Keys[VK_ESCAPE] = true; };
  RunIntro();
  EXPECT_EQ(Fake.MessageBoxes, Strings{"Error: Unable to switch to fullscreen!"});
  EXPECT_EQ(Fake.WindowExStyle, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
  EXPECT_EQ(Fake.WindowStyle, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  EXPECT_FALSE(Fake.Called("ShowCursor(false)"));
  EXPECT_EQ(CallsFrom("ShutdownScene"),
            (Strings{"ShutdownScene", "RestoreDisplaySettings", "ShowCursor(true)", "MakeCurrent(none)",
                     "DeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClass"}));
}

TEST_F(ShellTest, OtherSwitchFailuresAreSilentAndKeepFullScreenStyles) {
  constexpr std::int32_t DispChangeBadMode = -2;
  Fake.DisplayChangeResult = DispChangeBadMode;
  ASSERT_TRUE(CreateRenderWindow(800, 600, true, 32));
  EXPECT_TRUE(Fake.MessageBoxes.empty());
  EXPECT_EQ(Fake.WindowStyle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  EXPECT_TRUE(Fake.Called("ShowCursor(false)"));
}

TEST_F(ShellTest, TeardownReportsEachFailingStepAndCarriesOn) {
  ASSERT_TRUE(CreateRenderWindow(800, 600, true, 32));
  Fake.Failing = {"MakeCurrent(none)", "DeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClass"};
  DestroyRenderWindow(true);
  EXPECT_EQ(Fake.MessageBoxes,
            (Strings{"Error: Release of DC and RC failed!", "Error: Release of rendering context failed!",
                     "Error: Release of device context failed!", "Error: Unable to destroy window!",
                     "Error: Unable to unregister window class!"}));
  EXPECT_EQ(RenderContext, 0u);
  EXPECT_EQ(DeviceContext, 0u);
  EXPECT_EQ(WindowHandle, 0u);
  EXPECT_EQ(InstanceHandle, 0u);
}
