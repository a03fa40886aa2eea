#include "app/win32/button_draw.h"

#include "app/win32/control_ids.h"
#include "app/win32/draw_primitives.h"
#include "app/win32/window_colours.h"
#include "app/win32/window_state.h"

namespace {

struct ButtonColours {
  COLORREF fill;
  COLORREF border;
  COLORREF caption;
};

// The calculate button stands out in the accent colour; the others are white.
ButtonColours button_colours(UINT id, bool pressed) {
  if (id == kCalculateButtonId)
    return {pressed ? kCalculatePressedFill : kCalculateFill, kCalculateBorder, kWhite};
  return {pressed ? kButtonPressedFill : kWhite, kButtonBorder, kTextColour};
}

}  // namespace

void draw_owner_button(const DRAWITEMSTRUCT* item) {
  ButtonColours colours = button_colours(item->CtlID, (item->itemState & ODS_SELECTED) != 0);
  const RECT& r = item->rcItem;
  int width = r.right - r.left;
  int height = r.bottom - r.top;
  fill_rect(item->hDC, r.left, r.top, width, height, colours.fill);
  outline_rect(item->hDC, r.left, r.top, width, height, colours.border);

  wchar_t caption[64];
  GetWindowTextW(item->hwndItem, caption, 64);
  HGDIOBJ old_font = SelectObject(item->hDC, g_window.fonts[kButtonFont]);
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, colours.caption);
  RECT text_rect = r;
  DrawTextW(item->hDC, caption, -1, &text_rect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  SelectObject(item->hDC, old_font);
}
