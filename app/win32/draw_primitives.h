// The three drawing primitives of the window. Rectangles are x, y, width and
// height; right and bottom edges are excluded. Each brush and pen is created
// for its one use and deleted right after, so drawing leaves no objects behind.
#pragma once

#include <windows.h>

void fill_rect(HDC dc, int x, int y, int width, int height, COLORREF colour);

// A 1-pixel border on the inside of the rectangle; the interior is untouched.
void outline_rect(HDC dc, int x, int y, int width, int height, COLORREF colour);

// One line, vertically centred, transparent background, ended with an
// ellipsis when too long. extra_flags: 0 (left), DT_RIGHT or DT_CENTER.
void draw_text(HDC dc, int x, int y, int width, int height, const wchar_t* text, COLORREF colour,
               HFONT font, UINT extra_flags);
