// The no-result state, and its use when the user changes an input field: a
// result shown beside other values than its own must not be copied or saved.
#include "app/win32/commands.h"
#include "app/win32/window_state.h"
#include "app/win32/window_texts.h"
#include "base/text.h"

void show_no_result(const wchar_t* status) {
  SetWindowTextW(g_window.result_box, L"");
  SetWindowTextW(g_window.verdict_line, kVerdictPrompt);
  text_clear(g_window.detail, kDetailCapacity);
  text_clear(g_window.copy_text, kCopyTextCapacity);
  g_window.level = 0;
  text_copy(g_window.status, kStatusCapacity, status);
  InvalidateRect(g_window.verdict_line, nullptr, TRUE);  // back to the prompt's colour
  InvalidateRect(g_window.main_window, nullptr, FALSE);
}

// Only a shown result goes stale: the program's own texts at creation come
// before any result, and clear sets its own status after its texts.
void command_inputs_changed() {
  if (g_window.detail[0] == L'\0') return;
  show_no_result(L"输入已更改，请重新计算");
}
