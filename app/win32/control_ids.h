// Control ids of the Main window's children. The five buttons double as the
// command ids of WM_COMMAND; the input fields are numbered from kInputIdBase
// in parameter order.
#pragma once

constexpr int kCalculateButtonId = 1001;
constexpr int kSaveButtonId = 1002;
constexpr int kCopyButtonId = 1003;
constexpr int kClearButtonId = 1004;
constexpr int kAboutButtonId = 1005;

constexpr int kInputIdBase = 2000;
constexpr int kResultBoxId = 3000;
