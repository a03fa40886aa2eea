// The native program: the self-test only. The calculator window is the
// Windows program.
#include <cstdio>

#include "app/command_line.h"
#include "engine/utf8.h"
#include "selftest/selftest.h"

int main(int argc, char** argv) {
  // Rebuild the command line as Windows would hand it over, so that both
  // programs choose their mode from the same text.
  static wchar_t arguments[64][1024];
  const wchar_t* pointers[64];
  int count = argc < 64 ? argc : 64;
  for (int i = 0; i < count; ++i) {
    utf8_decode(argv[i], arguments[i], 1024);
    pointers[i] = arguments[i];
  }
  static wchar_t command_line[32768];
  join_command_line(count, pointers, command_line, 32768);

  wchar_t path[kReportPathCapacity];
  if (parse_selftest_switch(command_line, path, kReportPathCapacity)) return run_selftest(path);
  std::fputs("ichscore: the calculator window is the Windows program (ichscore.exe); "
             "this build offers --selftest [PATH] only.\n", stderr);
  return 1;
}
