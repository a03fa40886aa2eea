#include "app/win32/control_colours.h"

#include "app/verdict_line.h"
#include "app/win32/window_colours.h"
#include "app/win32/window_state.h"

COLORREF verdict_colour(int level) {
  const unsigned rgb = verdict_colour_rgb(level);
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Reaches the STATIC controls and the result box, which as a read-only EDIT
// asks for static colours.
HBRUSH static_control_colours(HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  COLORREF text = kMutedTextColour;
  if (control == g_window.verdict_line)
    text = verdict_colour(g_window.level);
  else if (control == g_window.result_box || control == g_window.note_line)
    text = kTextColour;
  SetTextColor(dc, text);
  return g_window.white_brush;
}

HBRUSH edit_control_colours(HDC dc) {
  SetTextColor(dc, kTextColour);
  SetBkColor(dc, kWhite);
  return g_window.white_brush;
}
