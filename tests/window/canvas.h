// A top-down 32-bit DIB section in a memory device context, for rendering the
// window's drawing and reading the pixels back.
#pragma once

#include <windows.h>

#include <cstdint>

struct Canvas {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
  const std::uint32_t* pixels;  // 0x00RRGGBB, row after row from the top
  int width;
  int height;
};

Canvas open_canvas(int width, int height, COLORREF fill);
void close_canvas(Canvas& canvas);

// The pixel as a COLORREF (0x00BBGGRR), comparable with RGB().
COLORREF canvas_pixel(const Canvas& canvas, int x, int y);

// Pixels in the rectangle that are nearer to ink than to paper: the glyphs of
// an antialiased text drawn in ink on paper.
int count_ink_pixels(const Canvas& canvas, RECT area, COLORREF ink, COLORREF paper);

// The right-most column of the rectangle that holds an ink pixel, or -1.
int rightmost_ink_column(const Canvas& canvas, RECT area, COLORREF ink, COLORREF paper);
