// Every message box of the window goes through one replaceable function, so
// that tests can record the boxes instead of blocking on them.
#pragma once

#include <windows.h>

using MessageBoxFunction = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption,
                                   UINT type);

// MessageBoxW by default; tests put a recorder in its place.
extern MessageBoxFunction g_message_box;

inline int show_message_box(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return g_message_box(owner, text, caption, type);
}
