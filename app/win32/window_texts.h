// Texts and fixed values shared by more than one part of the Main window.
#pragma once

#include <windows.h>

#include "app/verdict_line.h"  // kVerdictPrompt

// The maker's web address, shown in the header and the about box.
extern const wchar_t kWebAddress[];
// The window class of the Main window.
extern const wchar_t kMainWindowClass[];

// The client area the layout is drawn for.
constexpr int kClientWidth = 1020;
constexpr int kClientHeight = 720;

// Capacity of the text a default value is formatted into.
constexpr int kDefaultTextCapacity = 64;

// Writes a parameter's default value into text in "%.6g" form.
void format_default_value(double value, wchar_t* text, int capacity);
