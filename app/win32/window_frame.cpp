#include "app/win32/window_frame.h"

#include "app/win32/window_texts.h"

SIZE main_window_outer_size() {
  RECT outer = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, kMainWindowStyle, FALSE, kMainWindowExStyle);
  return {outer.right - outer.left, outer.bottom - outer.top};
}
