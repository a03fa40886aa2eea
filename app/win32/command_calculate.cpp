// The calculate command: reads every input field, runs the calculation and
// shows the Calculation result.
#include "app/win32/commands.h"
#include "app/win32/message_box.h"
#include "app/win32/window_state.h"
#include "base/text.h"
#include "engine/calculation.h"
#include "engine/input_message.h"
#include "engine/parameter_input.h"

namespace {

constexpr int kInputCapacity = 128;
constexpr int kResultCapacity = kShownResultCapacity;
constexpr int kVerdictCapacity = kShownVerdictCapacity;

// A text too long for the buffer is refused: its cut form could read as a
// number the user did not type. Everything else is the item's input rule.
ParameterInput read_input_value(int i, double* value) {
  *value = 0.0;
  if (GetWindowTextLengthW(g_window.inputs[i]) >= kInputCapacity) return kParameterUnreadable;
  wchar_t text[kInputCapacity];
  GetWindowTextW(g_window.inputs[i], text, kInputCapacity);
  return read_parameter_input(&g_window.tool->parameters[i], text, value);
}

void refuse_input(int i, ParameterInput verdict) {
  wchar_t message[kInputMessageCapacity];
  format_input_message(&g_window.tool->parameters[i], i + 1, verdict, message,
                       kInputMessageCapacity);
  show_message_box(g_window.main_window, message, L"输入有误", MB_OK | MB_ICONWARNING);
  SetFocus(g_window.inputs[i]);
}

void fill_copy_text(const wchar_t* result, const wchar_t* verdict) {
  text_clear(g_window.copy_text, kCopyTextCapacity);
  if (g_window.tool->report_kind != 0)
    text_copy(g_window.copy_text, kCopyTextCapacity, result);
  else
    text_format(g_window.copy_text, kCopyTextCapacity, L"%ls—— %ls", result, verdict);
}

}  // namespace

void command_calculate() {
  const ToolDef* tool = g_window.tool;
  // Converted into a local table first: a refused item leaves the stored
  // values matching the result still on screen, so a save cannot mix them.
  double values[kMaxParameters] = {};
  for (int i = 0; i < tool->parameter_count; ++i) {
    ParameterInput verdict = read_input_value(i, &values[i]);
    if (verdict != kParameterAccepted) {
      // No result stays beside values it was not calculated from.
      show_no_result(L"输入有误，请修改后重新计算");
      refuse_input(i, verdict);
      return;
    }
  }
  for (int i = 0; i < tool->parameter_count; ++i) g_window.values[i] = values[i];

  wchar_t result[kResultCapacity];
  wchar_t verdict[kVerdictCapacity];
  run_calculation(tool, g_window.values, result, kResultCapacity, verdict, kVerdictCapacity,
                  &g_window.level, g_window.detail, kDetailCapacity);
  SetWindowTextW(g_window.result_box, result);
  SetWindowTextW(g_window.verdict_line, verdict);
  fill_copy_text(result, verdict);

  InvalidateRect(g_window.verdict_line, nullptr, TRUE);  // recoloured for the new level
  text_format(g_window.status, kStatusCapacity, L"计算完成  %ls", tool->title);
  InvalidateRect(g_window.main_window, nullptr, FALSE);
  SetFocus(g_window.main_window);
}
