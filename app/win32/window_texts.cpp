#include "app/win32/window_texts.h"

#include "base/text.h"

const wchar_t kWebAddress[] = L"www.xelumed.example";
const wchar_t kMainWindowClass[] = L"XeluMedToolWnd";

void format_default_value(double value, wchar_t* text, int capacity) {
  text_format(text, capacity, L"%.6g", value);
}
