#pragma once
// The Windows headers, lean, without min and max, and without the macros that
// would clash with this program's own names: the ones that rename functions
// and methods (MessageBox, FindResource, ...) to their ANSI or wide forms, for
// the system's functions are called by their ANSI names; and the constants
// that platform/win_types.h and platform/wave_out.h declare with the same
// names and values, which stay usable through those headers.
// This program's declarations come first, before the macros exist.
#include "platform/wave_out.h"
#include "platform/win_types.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// The multimedia declarations build on the types windows.h declares.
#include <mmsystem.h>

#undef ChangeDisplaySettings
#undef CreateWindowEx
#undef DefWindowProc
#undef DispatchMessage
#undef FindResource
#undef GetModuleHandle
#undef MessageBox
#undef PeekMessage
#undef RegisterClass
#undef SetWindowText
#undef UnregisterClass
#undef near
#undef far

#undef WM_CREATE
#undef WM_SIZE
#undef WM_CLOSE
#undef WM_QUIT
#undef WM_KEYDOWN
#undef WM_KEYUP
#undef WM_TIMER
#undef VK_ESCAPE
#undef VK_SPACE
#undef VK_UP
#undef VK_DOWN
#undef VK_F5
#undef CS_VREDRAW
#undef CS_HREDRAW
#undef CS_OWNDC
#undef WS_EX_WINDOWEDGE
#undef WS_EX_APPWINDOW
#undef WS_POPUP
#undef WS_CLIPSIBLINGS
#undef WS_CLIPCHILDREN
#undef WS_OVERLAPPEDWINDOW
#undef MB_OK
#undef MB_ICONERROR
#undef MB_ICONINFORMATION
#undef DM_BITSPERPEL
#undef DM_PELSWIDTH
#undef DM_PELSHEIGHT
#undef CDS_FULLSCREEN
#undef DISP_CHANGE_SUCCESSFUL
#undef DISP_CHANGE_FAILED
#undef PFD_DOUBLEBUFFER
#undef PFD_DRAW_TO_WINDOW
#undef PFD_SUPPORT_OPENGL
#undef PFD_TYPE_RGBA
#undef PFD_MAIN_PLANE
#undef RT_RCDATA
#undef MMSYSERR_NOERROR
#undef MMSYSERR_INVALHANDLE
#undef MMSYSERR_NODRIVER
#undef MMSYSERR_INVALPARAM
#undef WAVERR_BADFORMAT
#undef WAVERR_STILLPLAYING
#undef WAVERR_UNPREPARED
#undef WHDR_DONE
#undef WHDR_PREPARED
#undef WHDR_INQUEUE
#undef WAVE_FORMAT_PCM
