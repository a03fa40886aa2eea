#include "app/win32/window_proc.h"

#include <windowsx.h>

#include "app/win32/button_draw.h"
#include "app/win32/commands.h"
#include "app/win32/control_colours.h"
#include "app/win32/control_ids.h"
#include "app/win32/paint.h"
#include "app/win32/window_create.h"
#include "app/win32/window_frame.h"
#include "app/win32/window_texts.h"
#include "engine/tool.h"

namespace {

BOOL on_create(HWND window, LPCREATESTRUCTW) {
  create_controls(window);
  return TRUE;
}

void on_destroy(HWND) { PostQuitMessage(0); }

void on_paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  paint_main_window(window, dc);
  EndPaint(window, &ps);
}

// Lets tests and WM_PRINT render the client area into a bitmap.
LRESULT on_print_client(HWND window, HDC dc) {
  paint_main_window(window, dc);
  return 0;
}

// Painting covers the whole client area, so erasing first would only flicker.
BOOL on_erase_background(HWND, HDC) { return TRUE; }

// The size the window was created with, worked out again at the current
// metrics: the client area is the layout's at any caption and border size.
void on_get_min_max_info(HWND, LPMINMAXINFO info) {
  SIZE outer = main_window_outer_size();
  info->ptMinTrackSize = {outer.cx, outer.cy};
  info->ptMaxTrackSize = {outer.cx, outer.cy};
}

LRESULT on_draw_item(HWND, const DRAWITEMSTRUCT* item) {
  draw_owner_button(item);
  return TRUE;
}

void on_command(HWND window, int id, HWND control, UINT code) {
  switch (id) {
    case kCalculateButtonId: command_calculate(); return;
    case kSaveButtonId: command_save_record(); return;
    case kCopyButtonId: command_copy_result(); return;
    case kClearButtonId: command_clear(); return;
    case kAboutButtonId: command_about(); return;
    default: break;
  }
  if (id >= kInputIdBase && id < kInputIdBase + kMaxParameters && code == EN_CHANGE) {
    command_inputs_changed();
    return;
  }
  FORWARD_WM_COMMAND(window, id, control, code, DefWindowProcW);
}

HBRUSH on_ctl_color_static(HWND, HDC dc, HWND control, int) {
  return static_control_colours(dc, control);
}

HBRUSH on_ctl_color_edit(HWND, HDC dc, HWND, int) { return edit_control_colours(dc); }

}  // namespace

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(window, WM_CREATE, on_create);
    HANDLE_MSG(window, WM_DESTROY, on_destroy);
    HANDLE_MSG(window, WM_PAINT, on_paint);
    HANDLE_MSG(window, WM_ERASEBKGND, on_erase_background);
    HANDLE_MSG(window, WM_GETMINMAXINFO, on_get_min_max_info);
    HANDLE_MSG(window, WM_COMMAND, on_command);
    HANDLE_MSG(window, WM_CTLCOLORSTATIC, on_ctl_color_static);
    HANDLE_MSG(window, WM_CTLCOLOREDIT, on_ctl_color_edit);
    // WM_DRAWITEM's cracker drops the handler's result; WM_PRINTCLIENT has none.
    case WM_DRAWITEM: return on_draw_item(window, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_PRINTCLIENT: return on_print_client(window, reinterpret_cast<HDC>(wParam));
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}
