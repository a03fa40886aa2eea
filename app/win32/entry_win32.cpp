// The Windows program entry: the self-test when the command line holds
// "--selftest", the verification on the hidden calculator window when it
// holds "--verify", otherwise the calculator window.
#include <windows.h>

#include "app/command_line.h"
#include "app/win32/main_window.h"
#include "app/win32/verify_window.h"
#include "selftest/selftest.h"
#include "verify/expected_table.h"

namespace {

// DLLs loaded at run time (by the program or by system DLLs on its behalf)
// come from System32 only, never from the program's folder or the current
// one, where a planted DLL could wait (a downloads folder, a share). Looked up
// by name: a system without the function still starts, with the current
// folder at least taken out of the search.
void limit_dll_search_to_system32() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  // Through void (*)(), which converts to and from any function type.
  auto set_default_dll_directories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
  if (!set_default_dll_directories || !set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32))
    SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  limit_dll_search_to_system32();
  wchar_t path[kReportPathCapacity];
  // The program has no console: in the report modes its exit code is all a
  // script hears, so a report that cannot be written is told by it alone.
  const ModeChoice choice = choose_mode(GetCommandLineW(), path, kReportPathCapacity);
  if (choice.mode != kModeWindow && choice.report == kSwitchPathTooLong) return kSelftestNotWritten;
  if (choice.mode == kModeSelftest) return run_selftest(path);
  // The verification drives the window as start-up builds it, under the
  // same DPI awareness.
  SetProcessDPIAware();
  if (choice.mode == kModeVerify)
    return run_window_verify(instance, get_tool(), ich_expected_table(), path);
  return run_main_window(instance, get_tool());
}
