// The colour answers for the child controls (WM_CTLCOLORSTATIC and
// WM_CTLCOLOREDIT): every control is filled with the white brush; the verdict
// line's text takes the colour of the current level.
#pragma once

#include <windows.h>

HBRUSH static_control_colours(HDC dc, HWND control);
HBRUSH edit_control_colours(HDC dc);

// The verdict line's text colour for a level.
COLORREF verdict_colour(int level);
