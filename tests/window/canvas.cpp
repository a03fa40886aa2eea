#include "window/canvas.h"

namespace {

int distance(COLORREF a, COLORREF b) {
  int dr = GetRValue(a) - GetRValue(b);
  int dg = GetGValue(a) - GetGValue(b);
  int db = GetBValue(a) - GetBValue(b);
  return dr * dr + dg * dg + db * db;
}

bool is_ink(const Canvas& canvas, int x, int y, COLORREF ink, COLORREF paper) {
  COLORREF p = canvas_pixel(canvas, x, y);
  return distance(p, ink) < distance(p, paper);
}

}  // namespace

Canvas open_canvas(int width, int height, COLORREF fill) {
  Canvas canvas = {};
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  canvas.dc = CreateCompatibleDC(nullptr);
  canvas.bitmap = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  canvas.previous = SelectObject(canvas.dc, canvas.bitmap);
  canvas.pixels = static_cast<const std::uint32_t*>(bits);
  canvas.width = width;
  canvas.height = height;
  RECT all = {0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(canvas.dc, &all, brush);
  DeleteObject(brush);
  GdiFlush();
  return canvas;
}

void close_canvas(Canvas& canvas) {
  SelectObject(canvas.dc, canvas.previous);
  DeleteObject(canvas.bitmap);
  DeleteDC(canvas.dc);
  canvas = {};
}

COLORREF canvas_pixel(const Canvas& canvas, int x, int y) {
  std::uint32_t p = canvas.pixels[y * canvas.width + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int count_ink_pixels(const Canvas& canvas, RECT area, COLORREF ink, COLORREF paper) {
  GdiFlush();
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) count += is_ink(canvas, x, y, ink, paper);
  return count;
}

int rightmost_ink_column(const Canvas& canvas, RECT area, COLORREF ink, COLORREF paper) {
  GdiFlush();
  for (int x = area.right - 1; x >= area.left; --x)
    for (int y = area.top; y < area.bottom; ++y)
      if (is_ink(canvas, x, y, ink, paper)) return x;
  return -1;
}
