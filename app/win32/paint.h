// Painting of the Main window's client area: background, header band, the two
// panels with titles and dividers, the footer band and the status text. The
// same function serves WM_PAINT and WM_PRINTCLIENT.
#pragma once

#include <windows.h>

void paint_main_window(HWND window, HDC dc);
