#include "app/win32/window_create.h"

#include "app/win32/control_ids.h"
#include "app/win32/input_field.h"
#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"
#include "base/text.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButtonStyle = kChild | BS_OWNERDRAW;

struct ControlLayout {
  DWORD ex_style;
  const wchar_t* window_class;
  DWORD style;
  int id;
  int x, y, width, height;
};

// A null font leaves the control's own font; the owner-drawn buttons get none.
HWND create_control(HWND parent, const ControlLayout& layout, const wchar_t* text, HFONT font) {
  HWND control = CreateWindowExW(layout.ex_style, layout.window_class, text, layout.style, layout.x,
                                 layout.y, layout.width, layout.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                 g_window.instance, nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  return control;
}

void create_parameter_row(HWND parent, int i) {
  const ParameterDef& parameter = g_window.tool->parameters[i];
  int y = 150 + 34 * i;
  create_control(parent, {0, L"STATIC", kChild | SS_RIGHT, 0, 24, y + 1, 184, 22}, parameter.label,
                 g_window.fonts[kLabelFont]);

  g_window.inputs[i] = create_control(
      parent,
      {WS_EX_CLIENTEDGE, L"EDIT", kChild | ES_AUTOHSCROLL, kInputIdBase + i, 216, y - 4, 152, 27},
      L"", g_window.fonts[kInputFont]);
  attach_input_field_behaviour(g_window.inputs[i]);
  wchar_t value[kDefaultTextCapacity];
  format_default_value(parameter.default_value, value, kDefaultTextCapacity);
  SetWindowTextW(g_window.inputs[i], value);

  if (parameter.unit && parameter.unit[0] != L'\0')
    create_control(parent, {0, L"STATIC", kChild | SS_LEFT, 0, 374, y, 78, 22}, parameter.unit,
                   g_window.fonts[kSmallFont]);
}

void create_result_panel(HWND parent) {
  const ToolDef* tool = g_window.tool;
  g_window.verdict_line = create_control(parent, {0, L"STATIC", kChild, 0, 492, 142, 492, 46},
                                         kVerdictPrompt, g_window.fonts[kVerdictFont]);
  g_window.result_box = create_control(
      parent,
      {WS_EX_CLIENTEDGE, L"EDIT", kChild | WS_VSCROLL | ES_READONLY | ES_AUTOVSCROLL | ES_MULTILINE,
       kResultBoxId, 492, 196, 492, 232},
      L"", g_window.fonts[kResultFont]);
  g_window.note_line = create_control(parent, {0, L"STATIC", kChild, 0, 492, 444, 492, 120},
                                      tool->note ? tool->note : L"", g_window.fonts[kSmallFont]);
  wchar_t reference[512];
  text_format(reference, 512, L"参考依据：%ls", tool->reference);
  create_control(parent, {0, L"STATIC", kChild, 0, 492, 576, 492, 56}, reference,
                 g_window.fonts[kSmallFont]);
}

void create_buttons(HWND parent) {
  create_control(parent, {0, L"BUTTON", kButtonStyle, kCalculateButtonId, 20, 668, 152, 40},
                 L"计算 (F5)", nullptr);
  create_control(parent, {0, L"BUTTON", kButtonStyle, kSaveButtonId, 184, 668, 132, 40},
                 L"保存记录", nullptr);
  create_control(parent, {0, L"BUTTON", kButtonStyle, kCopyButtonId, 328, 668, 132, 40},
                 L"复制结果", nullptr);
  create_control(parent, {0, L"BUTTON", kButtonStyle, kClearButtonId, 472, 668, 132, 40},
                 L"清空重填", nullptr);
  create_control(parent, {0, L"BUTTON", kButtonStyle, kAboutButtonId, 616, 668, 110, 40}, L"关于",
                 nullptr);
}

}  // namespace

void create_controls(HWND main_window) {
  g_window.main_window = main_window;
  for (int i = 0; i < g_window.tool->parameter_count; ++i) create_parameter_row(main_window, i);
  create_result_panel(main_window);
  create_buttons(main_window);
  text_copy(g_window.status, kStatusCapacity, L"就绪：填写参数后按 F5 或点击“计算”");
}
