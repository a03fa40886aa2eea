// The verification's screen on the real Main window: built from the tool as
// start-up builds it but never shown, read as a person reads it and typed
// into as a person types. While it is open, message boxes are caught instead
// of shown.
#pragma once

#include <windows.h>

#include "app/win32/message_box.h"
#include "engine/tool.h"
#include "verify/expected_table.h"
#include "verify/verify_screen.h"

// Most child controls the screen looks at: 16 rows of three, and nine more.
constexpr int kScreenChildren = 64;

struct WindowScreen {
  HWND main_window;
  HWND children[kScreenChildren];  // the Main window's children, read once: they stay put
  int child_count;
  HWND fields[kMaxParameters];             // the field each table item is bound to
  MessageBoxFunction shown_boxes;          // the box function in place before the screen opened
  wchar_t message[kShownMessageCapacity];  // the boxes' texts of the case being run
};

// Creates the hidden Main window for the tool, starts catching message boxes
// and fills screen with the functions that drive the window. False, with
// boxes shown as before, when the window cannot be created.
bool open_window_screen(HINSTANCE instance, const ToolDef* tool, WindowScreen* window,
                        VerifyScreen* screen);

// Destroys the window and lets message boxes show again.
void close_window_screen(WindowScreen* window);

// The verification on the hidden Main window. 1, with no report written,
// when the window cannot be created, as the calculator itself exits then;
// otherwise the report's exit code.
int run_window_verify(HINSTANCE instance, const ToolDef* tool, const ExpectedTable* table,
                      const wchar_t* path);
