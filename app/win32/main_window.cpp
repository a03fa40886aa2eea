#include "app/win32/main_window.h"

#include "app/win32/commands.h"
#include "app/win32/window_colours.h"
#include "app/win32/window_frame.h"
#include "app/win32/window_proc.h"
#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"
#include "base/text.h"

namespace {

struct FontRequest {
  const wchar_t* face;
  int height;  // negative: the character (em) height in pixels
  int weight;
};

// In the order of FontIndex. Heading and label, input and button fonts are
// equal but separate fonts.
constexpr FontRequest kFontRequests[kFontCount] = {
    {L"Microsoft YaHei UI", -27, 700},  // title
    {L"Microsoft YaHei UI", -14, 400},  // heading
    {L"Microsoft YaHei UI", -14, 400},  // label
    {L"Microsoft YaHei UI", -15, 400},  // input
    {L"Microsoft YaHei UI", -21, 700},  // verdict
    {L"Consolas", -15, 400},            // result
    {L"Microsoft YaHei UI", -15, 400},  // button
    {L"Microsoft YaHei UI", -12, 400},  // small
};

void reset_window_state(HINSTANCE instance, const ToolDef* tool) {
  g_window.instance = instance;
  g_window.tool = tool;
  g_window.level = 0;
  for (HWND& input : g_window.inputs) input = nullptr;
  text_clear(g_window.detail, kDetailCapacity);
}

// Fonts and brushes live until the process ends; a failed one stays null.
void create_fonts_and_brushes() {
  for (int i = 0; i < kFontCount; ++i) {
    const FontRequest& font = kFontRequests[i];
    g_window.fonts[i] =
        CreateFontW(font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, 0, font.face);
  }
  g_window.white_brush = CreateSolidBrush(kWhite);
  g_window.background_brush = CreateSolidBrush(kBackgroundColour);
}

void register_main_class() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = main_window_proc;
  wc.hInstance = g_window.instance;
  wc.hIcon = LoadIconW(g_window.instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = g_window.background_brush;
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);  // a failure shows up as a failed CreateWindowExW
}

HWND create_main_frame() {
  SIZE outer = main_window_outer_size();
  int x = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  // The WM_CREATE handler builds the controls and stores the handle itself;
  // WM_GETMINMAXINFO holds the window to the same outer size.
  return CreateWindowExW(kMainWindowExStyle, kMainWindowClass, g_window.tool->title,
                         kMainWindowStyle, x, y, outer.cx, outer.cy, nullptr, nullptr,
                         g_window.instance, nullptr);
}

}  // namespace

HWND create_main_window(HINSTANCE instance, const ToolDef* tool) {
  reset_window_state(instance, tool);
  create_fonts_and_brushes();
  register_main_class();
  g_window.main_window = create_main_frame();
  return g_window.main_window;
}

HWND open_main_window(HINSTANCE instance, const ToolDef* tool) {
  if (!create_main_window(instance, tool)) return nullptr;
  ShowWindow(g_window.main_window, SW_SHOW);
  UpdateWindow(g_window.main_window);
  SetFocus(g_window.inputs[0]);
  return g_window.main_window;
}

bool is_calculate_key(const MSG& message) {
  return message.message == WM_KEYDOWN &&
         (message.wParam == VK_F5 || message.wParam == VK_RETURN) &&
         IsChild(g_window.main_window, message.hwnd);
}

void handle_message(const MSG& message) {
  if (is_calculate_key(message)) {
    command_calculate();
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int run_main_window(HINSTANCE instance, const ToolDef* tool) {
  if (!open_main_window(instance, tool)) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) handle_message(message);
  return 0;
}
