#include "app/win32/message_box.h"

namespace {
int system_message_box(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return MessageBoxW(owner, text, caption, type);
}
}  // namespace

MessageBoxFunction g_message_box = system_message_box;
