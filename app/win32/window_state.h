// The state of the one Main window: process-wide, owned by the window, read
// and changed only on the GUI thread.
#pragma once

#include <windows.h>

#include "engine/calculation.h"
#include "engine/tool.h"

constexpr int kDetailCapacity = kShownDetailCapacity;
constexpr int kCopyTextCapacity = 1024;
constexpr int kStatusCapacity = 256;

enum FontIndex {
  kTitleFont,
  kHeadingFont,
  kLabelFont,
  kInputFont,
  kVerdictFont,
  kResultFont,
  kButtonFont,
  kSmallFont,
  kFontCount
};

struct WindowState {
  HINSTANCE instance;
  HWND main_window;
  const ToolDef* tool;
  int level;
  HWND inputs[kMaxParameters];
  HWND result_box;
  HWND verdict_line;
  HWND note_line;
  HFONT fonts[kFontCount];
  HBRUSH white_brush;
  HBRUSH background_brush;
  wchar_t detail[kDetailCapacity];  // empty: no Calculation result yet
  wchar_t copy_text[kCopyTextCapacity];
  wchar_t status[kStatusCapacity];
  double values[kMaxParameters];  // the accepted values of the last calculation
};

extern WindowState g_window;
