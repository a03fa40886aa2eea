// The clear command: the defaults back in the input fields and no result.
#include "app/win32/commands.h"
#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"

void command_clear() {
  const ToolDef* tool = g_window.tool;
  for (int i = 0; i < tool->parameter_count; ++i) {
    wchar_t value[kDefaultTextCapacity];
    format_default_value(tool->parameters[i].default_value, value, kDefaultTextCapacity);
    SetWindowTextW(g_window.inputs[i], value);
  }
  SetWindowTextW(g_window.note_line, tool->note ? tool->note : L"");
  show_no_result(L"已恢复默认值");
}
