// Drawing of the five owner-drawn buttons (WM_DRAWITEM).
#pragma once

#include <windows.h>

void draw_owner_button(const DRAWITEMSTRUCT* item);
