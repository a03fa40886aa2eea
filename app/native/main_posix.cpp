// The native program: the self-test only. The calculator window is the
// Windows program.
#include <cstdio>

#include "app/command_line.h"
#include "base/utf8.h"
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

  wchar_t path[kSelftestPathCapacity];
  switch (parse_selftest_switch(command_line, path, kSelftestPathCapacity)) {
    case kSelftestPath: {
      const int code = run_selftest(path);
      if (code == kSelftestNotWritten) {
        char narrow[4 * kSelftestPathCapacity];
        narrow[utf8_encode(path, -1, narrow, sizeof narrow - 1, nullptr)] = 0;
        // The exit code tells the failure; a message that cannot reach
        // stderr has nowhere else to go.
        (void)std::fprintf(stderr, "ichscore: the self-test report could not be written to %s\n",
                           narrow);
      }
      return code;
    }
    case kSelftestPathTooLong:
      (void)std::fprintf(stderr,  // as above: the exit code tells it
                         "ichscore: the self-test report path is longer than %d characters; "
                         "no report was written\n",
                         kSelftestPathCapacity - 1);
      return kSelftestNotWritten;
    case kNoSelftest: break;
  }
  (void)std::fputs(  // as above: the exit code tells it
      "ichscore: the calculator window is the Windows program (ichscore.exe); "
      "this build offers --selftest [PATH] only.\n",
      stderr);
  return 1;
}
