#include "app/win32/clipboard_memory.h"

namespace {
HGLOBAL system_allocate(UINT flags, SIZE_T bytes) { return GlobalAlloc(flags, bytes); }
void* system_lock(HGLOBAL memory) { return GlobalLock(memory); }
}  // namespace

ClipboardMemory g_clipboard_memory = {system_allocate, system_lock};
