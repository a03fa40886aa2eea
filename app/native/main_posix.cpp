// The native program: the self-test and the verification only. The
// calculator window is the Windows program.
#include <cstdio>

#include "app/command_line.h"
#include "base/utf8.h"
#include "selftest/selftest.h"
#include "verify/verify.h"

namespace {

// Runs the mode's report and says on stderr when it could not be written.
int run_report_mode(ProgramMode mode, const wchar_t* path) {
  const char* what = mode == kModeSelftest ? "self-test" : "verification";
  const int code = mode == kModeSelftest ? run_selftest(path) : run_verify(path);
  if (code == kSelftestNotWritten) {
    char narrow[4 * kReportPathCapacity];
    narrow[utf8_encode(path, -1, narrow, sizeof narrow - 1, nullptr)] = 0;
    // The exit code tells the failure; a message that cannot reach stderr
    // has nowhere else to go.
    (void)std::fprintf(stderr, "ichscore: the %s report could not be written to %s\n", what,
                       narrow);
  }
  return code;
}

}  // namespace

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
  const ModeChoice choice = choose_mode(command_line, path, kReportPathCapacity);
  if (choice.mode == kModeWindow) {
    // The exit code tells the failure; a message that cannot reach stderr
    // has nowhere else to go.
    (void)std::fputs(
        "ichscore: the calculator window is the Windows program (ichscore.exe); "
        "this build offers --selftest [PATH] and --verify [PATH] only.\n",
        stderr);
    return 1;
  }
  if (choice.report == kSwitchPathTooLong) {
    (void)std::fprintf(stderr,  // as above: the exit code tells it
                       "ichscore: the %s report path is longer than %d characters; "
                       "no report was written\n",
                       choice.mode == kModeSelftest ? "self-test" : "verification",
                       kReportPathCapacity - 1);
    return kSelftestNotWritten;
  }
  return run_report_mode(choice.mode, path);
}
