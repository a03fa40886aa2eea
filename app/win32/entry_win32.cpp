// The Windows program entry: the self-test when the command line holds
// "--selftest", otherwise the calculator window.
#include <windows.h>

#include "app/command_line.h"
#include "app/win32/main_window.h"
#include "selftest/selftest.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wchar_t path[kReportPathCapacity];
  if (parse_selftest_switch(GetCommandLineW(), path, kReportPathCapacity)) return run_selftest(path);
  SetProcessDPIAware();
  return run_main_window(instance, get_tool());
}
