#include "app/win32/draw_primitives.h"

void fill_rect(HDC dc, int x, int y, int width, int height, COLORREF colour) {
  RECT rect = {x, y, x + width, y + height};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void outline_rect(HDC dc, int x, int y, int width, int height, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, x, y, x + width, y + height);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
}

void draw_text(HDC dc, int x, int y, int width, int height, const wchar_t* text, COLORREF colour,
               HFONT font, UINT extra_flags) {
  RECT rect = {x, y, x + width, y + height};
  HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text, -1, &rect, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | extra_flags);
  SelectObject(dc, old_font);
}
