// The Main window: its creation and the message loop that runs it.
#pragma once

#include <windows.h>

#include "engine/tool.h"

// Builds the Main window for the tool and runs the message loop until the
// window is destroyed. Returns 0 then, or 1 when the window cannot be created.
int run_main_window(HINSTANCE instance, const ToolDef* tool);

// The Main window as start-up builds it, not yet shown: the Window state,
// fonts, brushes, class and window with every control. Returns the window,
// or null when it cannot be made.
HWND create_main_window(HINSTANCE instance, const ToolDef* tool);

// Everything run_main_window does before the message loop: the window
// created, then shown, painted and with the focus in the first input field.
// Returns the Main window, or null when it cannot be made.
HWND open_main_window(HINSTANCE instance, const ToolDef* tool);

// The key rule: F5 or Enter pressed while a child of the Main window has the
// focus runs the calculation instead of reaching the control.
bool is_calculate_key(const MSG& message);

// One turn of the message loop for a message it has fetched.
void handle_message(const MSG& message);
