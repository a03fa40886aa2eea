// The input fields' behaviour on top of the system's edit control.
#pragma once

#include <windows.h>

// Makes a field select its whole text whenever it gains the keyboard focus
// (a click into it, Tab, or the program after a refusal), so the next
// keystroke replaces the value instead of joining it; a click into a field
// that already has the focus places the caret as usual. Ctrl+A selects all.
void attach_input_field_behaviour(HWND field);
