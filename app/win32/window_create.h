// Building the Main window's child controls from the tool (WM_CREATE).
#pragma once

#include <windows.h>

void create_controls(HWND main_window);
