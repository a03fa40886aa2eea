#include "app/win32/verify_window.h"

#include <cwchar>

#include "app/win32/main_window.h"
#include "app/win32/window_state.h"
#include "base/text.h"
#include "verify/verify.h"

namespace {

// The one open screen, for the box catcher, which gets no context.
WindowScreen* g_open_screen = nullptr;

// A second box of the same case adds its text, so that it cannot pass unseen.
int catch_message_box(HWND, const wchar_t* text, const wchar_t*, UINT) {
  text_append(g_open_screen->message, kShownMessageCapacity, text);
  return IDOK;
}

bool has_class(HWND control, const wchar_t* name) {
  wchar_t found[16];
  return GetClassNameW(control, found, 16) > 0 && lstrcmpiW(found, name) == 0;
}

bool is_text(HWND control) { return has_class(control, L"STATIC"); }

// A field is an edit a person can type into; the result box is read-only.
bool is_field(HWND control) {
  return has_class(control, L"EDIT") && (GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) == 0;
}

RECT rect_of(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  return rect;
}

// The child of the kind that stands next after `from` on its row: it
// overlaps from's rectangle vertically and begins at its right edge or
// beyond, no further off than from is tall, since a control further away no
// longer reads as belonging to it. The nearest wins; null when none stands so.
HWND next_on_row(const WindowScreen* window, HWND from, bool (*is_kind)(HWND)) {
  const RECT a = rect_of(from);
  const LONG reach = a.bottom - a.top;
  HWND nearest = nullptr;
  LONG nearest_left = 0;
  for (int i = 0; i < window->child_count; ++i) {
    HWND c = window->children[i];
    if (c == from || !is_kind(c)) continue;
    const RECT b = rect_of(c);
    const bool same_row = b.top < a.bottom && a.top < b.bottom;
    const bool after = b.left >= a.right && b.left - a.right <= reach;
    if (same_row && after && (!nearest || b.left < nearest_left)) {
      nearest = c;
      nearest_left = b.left;
    }
  }
  return nearest;
}

// The first text of the window that reads exactly so.
HWND find_label(const WindowScreen* window, const wchar_t* label) {
  const int length = text_length(label);
  if (length >= kShownNameCapacity) return nullptr;
  for (int i = 0; i < window->child_count; ++i) {
    HWND c = window->children[i];
    if (!is_text(c) || GetWindowTextLengthW(c) != length) continue;
    wchar_t shown[kShownNameCapacity];
    GetWindowTextW(c, shown, kShownNameCapacity);
    if (std::wcscmp(shown, label) == 0) return c;
  }
  return nullptr;
}

bool bind_item(void* context, int item, const wchar_t* label, wchar_t* unit, int unit_capacity) {
  auto* window = static_cast<WindowScreen*>(context);
  text_clear(unit, unit_capacity);
  if (item < 0 || item >= kMaxParameters) return false;
  window->fields[item] = nullptr;
  HWND shown_label = find_label(window, label);
  HWND field = shown_label ? next_on_row(window, shown_label, is_field) : nullptr;
  if (!field) return false;
  window->fields[item] = field;
  if (HWND shown_unit = next_on_row(window, field, is_text))
    GetWindowTextW(shown_unit, unit, unit_capacity);
  return true;
}

// Whether the field holds exactly the text.
bool holds(HWND field, const wchar_t* text) {
  const int length = text_length(text);
  if (length >= kShownNameCapacity || GetWindowTextLengthW(field) != length) return false;
  wchar_t held[kShownNameCapacity];
  GetWindowTextW(field, held, kShownNameCapacity);
  return std::wcscmp(held, text) == 0;
}

// Gives the field the text as typing does: everything selected, then each
// character as the key's WM_CHAR, through the field's own key handling, or
// Backspace over the selection for no text. A field that already holds the
// text is left as a person going down the table leaves it, which also keeps
// the check within a few seconds under Wine, where every key costs several
// server round trips; and Backspace never meets an empty field, where it
// could beep.
void type_into(HWND field, const wchar_t* text) {
  if (holds(field, text)) return;
  SendMessageW(field, EM_SETSEL, 0, -1);
  if (text[0] == L'\0') SendMessageW(field, WM_CHAR, VK_BACK, 1);
  for (const wchar_t* c = text; *c; ++c) SendMessageW(field, WM_CHAR, *c, 1);
}

bool is_bound(const WindowScreen* window, int item_count, HWND field) {
  for (int k = 0; k < item_count; ++k)
    if (window->fields[k] == field) return true;
  return false;
}

// F5 pressed in the field, handed to the message loop's own step.
void press_f5(HWND field) {
  MSG key = {};
  key.hwnd = field;
  key.message = WM_KEYDOWN;
  key.wParam = VK_F5;
  key.lParam = 1 | static_cast<LPARAM>(MapVirtualKeyW(VK_F5, MAPVK_VK_TO_VSC)) << 16;
  handle_message(key);
}

// The text colour the verdict line would paint in, asked as the line asks
// before it paints, on a new device context with the default colour.
unsigned painted_colour(HWND main_window, HWND line) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return 0;
  SendMessageW(main_window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(line));
  const COLORREF colour = GetTextColor(dc);
  DeleteDC(dc);
  return static_cast<unsigned>(GetRValue(colour)) << 16 |
         static_cast<unsigned>(GetGValue(colour)) << 8 | GetBValue(colour);
}

void read_text(HWND control, wchar_t* text, int capacity) {
  text_clear(text, capacity);
  GetWindowTextW(control, text, capacity);
}

void run_case(void* context, int item_count, const wchar_t* const* typed, ShownCase* shown) {
  auto* window = static_cast<WindowScreen*>(context);
  text_clear(window->message, kShownMessageCapacity);
  HWND last = nullptr;
  for (int k = 0; k < item_count && k < kMaxParameters; ++k) {
    if (!window->fields[k]) continue;
    type_into(window->fields[k], typed[k]);
    last = window->fields[k];
  }
  for (int i = 0; i < window->child_count; ++i) {
    HWND c = window->children[i];
    if (!is_field(c) || is_bound(window, item_count, c)) continue;
    type_into(c, L"");
    if (!last) last = c;
  }
  press_f5(last);
  read_text(g_window.result_box, shown->result, kShownResultCapacity);
  read_text(g_window.verdict_line, shown->verdict, kShownVerdictCapacity);
  shown->level = g_window.level;
  shown->colour = painted_colour(window->main_window, g_window.verdict_line);
  text_copy(shown->message, kShownMessageCapacity, window->message);
}

}  // namespace

bool open_window_screen(HINSTANCE instance, const ToolDef* tool, WindowScreen* window,
                        VerifyScreen* screen) {
  *window = {};
  window->main_window = create_main_window(instance, tool);
  if (!window->main_window) return false;
  // Disabled as while a message box it owns is open: the calculate command's
  // SetFocus then fails instead of activating the hidden window, which would
  // take the keyboard from whatever the user is working in.
  EnableWindow(window->main_window, FALSE);
  for (HWND c = GetWindow(window->main_window, GW_CHILD);
       c && window->child_count < kScreenChildren; c = GetWindow(c, GW_HWNDNEXT))
    window->children[window->child_count++] = c;
  window->shown_boxes = g_message_box;
  g_message_box = catch_message_box;
  g_open_screen = window;
  *screen = {window, bind_item, run_case};
  return true;
}

void close_window_screen(WindowScreen* window) {
  DestroyWindow(window->main_window);
  // WM_DESTROY posts the quit message for a message loop this run never has;
  // left in the queue it would end the next modal loop, a message box's, at once.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  g_message_box = window->shown_boxes;
  g_open_screen = nullptr;
}

int run_window_verify(HINSTANCE instance, const ToolDef* tool, const ExpectedTable* table,
                      const wchar_t* path) {
  WindowScreen window;
  VerifyScreen screen;
  if (!open_window_screen(instance, tool, &window, &screen)) return 1;
  const int code = write_verify_report(tool, table, &screen, path);
  close_window_screen(&window);
  return code;
}
