#include "app/win32/input_field.h"

namespace {

// The edit class's own procedure; every field is an edit, so it is one.
WNDPROC g_edit_procedure = nullptr;

LRESULT pass_on(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(g_edit_procedure, field, message, wParam, lParam);
}

void select_whole_text(HWND field) { SendMessageW(field, EM_SETSEL, 0, -1); }

LRESULT CALLBACK input_field_procedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS: {
      LRESULT result = pass_on(field, message, wParam, lParam);
      select_whole_text(field);
      return result;
    }
    case WM_LBUTTONDOWN:
      // The click that brings the focus keeps the selection the focus made;
      // passed on, it would put the caret under the mouse instead.
      if (GetFocus() != field) {
        SetFocus(field);
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
        select_whole_text(field);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == 0x01) return 0;  // the control character Ctrl+A types
      break;
    default: break;
  }
  return pass_on(field, message, wParam, lParam);
}

}  // namespace

void attach_input_field_behaviour(HWND field) {
  if (!field) return;
  LONG_PTR previous =
      SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(input_field_procedure));
  if (!g_edit_procedure) g_edit_procedure = reinterpret_cast<WNDPROC>(previous);
}
