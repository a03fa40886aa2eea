// The Main window's frame: its style and the outer size that gives it a
// client area of exactly kClientWidth x kClientHeight.
#pragma once

#include <windows.h>

// A fixed frame: a title bar, a system menu and a minimise box; no sizing
// border, no maximise box.
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kMainWindowExStyle = 0;

// The outer size for the layout's client area at the current caption and
// border metrics, which grow with the system's text size and scaling. The
// window is created with it and WM_GETMINMAXINFO holds it there.
SIZE main_window_outer_size();
