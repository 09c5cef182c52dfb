#pragma once
// The Win32 platform with every call written down, by name and in order, as
// it goes through to the system.
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"

namespace platform {

class TRecordingPlatform final : public TPlatform {
 public:
  std::vector<std::string> Calls;
  std::vector<std::string> MessageBoxes;

  THandle GetModuleHandle() override { return Note("GetModuleHandle", System.GetModuleHandle()); }
  bool RegisterClass(const TWindowClass& c) override { return Note("RegisterClass", System.RegisterClass(c)); }
  bool UnregisterClass(const char* name, THandle instance) override {
    return Note("UnregisterClass", System.UnregisterClass(name, instance));
  }
  // Written down with the system's result code.
  std::int32_t ChangeDisplaySettings(const TDisplayMode* mode, std::uint32_t flags) override {
    const std::int32_t result = System.ChangeDisplaySettings(mode, flags);
    Calls.push_back(std::string(mode ? "ChangeDisplaySettings -> " : "ChangeDisplaySettings(default) -> ") +
                    std::to_string(result));
    return result;
  }
  std::int32_t ShowCursor(bool show) override {
    Calls.push_back(show ? "ShowCursor(true)" : "ShowCursor(false)");
    return System.ShowCursor(show);
  }
  THandle CreateWindowEx(std::uint32_t exStyle, const char* className, const char* caption, std::uint32_t style, int x,
                         int y, int width, int height, THandle instance) override {
    return Note("CreateWindowEx",
                System.CreateWindowEx(exStyle, className, caption, style, x, y, width, height, instance));
  }
  bool DestroyWindow(THandle window) override { return Note("DestroyWindow", System.DestroyWindow(window)); }
  THandle GetDC(THandle window) override { return Note("GetDC", System.GetDC(window)); }
  bool ReleaseDC(THandle window, THandle dc) override { return Note("ReleaseDC", System.ReleaseDC(window, dc)); }
  int ChoosePixelFormat(THandle dc, const TPixelFormat& format) override {
    return Note("ChoosePixelFormat", System.ChoosePixelFormat(dc, format));
  }
  bool SetPixelFormat(THandle dc, int index, const TPixelFormat& format) override {
    return Note("SetPixelFormat", System.SetPixelFormat(dc, index, format));
  }
  THandle CreateContext(THandle dc) override { return Note("CreateContext", System.CreateContext(dc)); }
  bool MakeCurrent(THandle dc, THandle rc) override {
    return Note(rc ? "MakeCurrent" : "MakeCurrent(none)", System.MakeCurrent(dc, rc));
  }
  bool DeleteContext(THandle rc) override { return Note("DeleteContext", System.DeleteContext(rc)); }
  bool SwapBuffers(THandle dc) override { return System.SwapBuffers(dc); }
  bool SetTimer(THandle window, std::uintptr_t id, std::uint32_t ms) override {
    return Note("SetTimer", System.SetTimer(window, id, ms));
  }
  void ShowWindow(THandle window) override {
    Calls.push_back("ShowWindow");
    System.ShowWindow(window);
  }
  void SetForegroundWindow(THandle window) override {
    Calls.push_back("SetForegroundWindow");
    System.SetForegroundWindow(window);
  }
  void SetFocus(THandle window) override {
    Calls.push_back("SetFocus");
    System.SetFocus(window);
  }
  bool SetWindowText(THandle window, const std::string& text) override { return System.SetWindowText(window, text); }
  bool PeekMessage(TMessage& message) override { return System.PeekMessage(message); }
  void TranslateMessage(const TMessage& message) override { System.TranslateMessage(message); }
  TLResult DispatchMessage(const TMessage& message) override { return System.DispatchMessage(message); }
  void PostQuitMessage(int code) override { System.PostQuitMessage(code); }
  TLResult DefWindowProc(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam) override {
    return System.DefWindowProc(window, message, wParam, lParam);
  }
  // Written down only: a dialog would wait for an answer nobody gives.
  void MessageBox(const std::string& text, const std::string& caption, std::uint32_t) override {
    MessageBoxes.push_back(caption + ": " + text);
  }
  std::uint32_t GetTickCount() override { return System.GetTickCount(); }

 private:
  template <typename T>
  T Note(const char* name, T result) {
    Calls.push_back(std::string(name) + (result ? "" : " failed"));
    return result;
  }

  TWin32Platform System;
};

}  // namespace platform
