// The global-memory calls of the copy command, replaceable so that tests can
// make an allocation or a lock fail.
#pragma once

#include <windows.h>

struct ClipboardMemory {
  HGLOBAL (*allocate)(UINT flags, SIZE_T bytes);  // GlobalAlloc by default
  void* (*lock)(HGLOBAL memory);                  // GlobalLock by default
};

extern ClipboardMemory g_clipboard_memory;
