// The clear command: the defaults back in the input fields and no result.
#include "app/win32/commands.h"
#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"
#include "engine/text.h"

void command_clear() {
  const ToolDef* tool = g_window.tool;
  for (int i = 0; i < tool->parameter_count; ++i) {
    wchar_t value[kDefaultTextCapacity];
    format_default_value(tool->parameters[i].default_value, value, kDefaultTextCapacity);
    SetWindowTextW(g_window.inputs[i], value);
  }
  SetWindowTextW(g_window.result_box, L"");
  SetWindowTextW(g_window.verdict_line, kVerdictPrompt);
  SetWindowTextW(g_window.note_line, tool->note ? tool->note : L"");

  // The copy text and the parameter values stay: with the detail text empty,
  // copy and save refuse to act until the next calculation.
  text_copy(g_window.status, kStatusCapacity, L"已恢复默认值");
  text_clear(g_window.detail, kDetailCapacity);
  g_window.level = 0;
  InvalidateRect(g_window.main_window, nullptr, FALSE);
}
