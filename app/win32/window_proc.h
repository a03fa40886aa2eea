// The window procedure of the Main window.
#pragma once

#include <windows.h>

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
