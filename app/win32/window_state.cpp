#include "app/win32/window_state.h"

WindowState g_window;
