// The Windows program entry: the self-test when the command line holds
// "--selftest", otherwise the calculator window.
#include <windows.h>

#include "app/command_line.h"
#include "app/win32/main_window.h"
#include "selftest/selftest.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wchar_t path[kReportPathCapacity];
  // The program has no console: in self-test mode its exit code is all a
  // script hears, so a report that cannot be written is told by it alone.
  switch (parse_selftest_switch(GetCommandLineW(), path, kReportPathCapacity)) {
    case kSelftestPath: return run_selftest(path);
    case kSelftestPathTooLong: return kSelftestNotWritten;
    case kNoSelftest: break;
  }
  SetProcessDPIAware();
  return run_main_window(instance, get_tool());
}
