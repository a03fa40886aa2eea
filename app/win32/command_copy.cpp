// The copy command: puts the title and the last result on the clipboard.
#include "app/win32/clipboard_memory.h"
#include "app/win32/commands.h"
#include "app/win32/message_box.h"
#include "app/win32/window_state.h"
#include "base/text.h"

namespace {

void set_status(const wchar_t* text) {
  text_copy(g_window.status, kStatusCapacity, text);
  InvalidateRect(g_window.main_window, nullptr, FALSE);
}

// The title, CR LF and the copy text in new global memory; null when the
// memory cannot be allocated or locked. The block holds the text and its
// terminator and nothing else: a reader that takes the block's whole size
// (Wine's bridge to the X clipboard does) would otherwise paste leftover heap
// bytes after the result.
HGLOBAL make_clipboard_text() {
  const wchar_t* title = g_window.tool->title;
  int characters = text_length(title) + 2 + text_length(g_window.copy_text) + 1;
  SIZE_T bytes = static_cast<SIZE_T>(characters) * sizeof(wchar_t);
  HGLOBAL memory = g_clipboard_memory.allocate(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!memory) return nullptr;
  auto* text = static_cast<wchar_t*>(g_clipboard_memory.lock(memory));
  if (!text) {
    GlobalFree(memory);
    return nullptr;
  }
  text_format(text, characters, L"%ls\r\n%ls", title, g_window.copy_text);
  GlobalUnlock(memory);
  return memory;
}

// The clipboard is emptied only once the new text is ready, so a failed copy
// leaves what the clipboard held before.
bool put_on_clipboard() {
  if (!OpenClipboard(g_window.main_window)) return false;
  HGLOBAL memory = make_clipboard_text();
  bool done = false;
  if (memory) {
    EmptyClipboard();
    done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!done) GlobalFree(memory);  // the clipboard did not take it over
  }
  CloseClipboard();
  return done;
}

}  // namespace

void command_copy_result() {
  if (g_window.detail[0] == L'\0') {
    show_message_box(g_window.main_window, L"请先点击“计算”生成结果。", L"提示",
                     MB_OK | MB_ICONINFORMATION);
    return;
  }
  set_status(put_on_clipboard() ? L"结果已复制到剪贴板" : L"复制失败：剪贴板暂不可用");
}
