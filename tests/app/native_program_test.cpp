// The native program itself, started as a script starts it: its exit code
// and what it says for each mode the command line chooses.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "records/record_files.h"

namespace {

TEST(NativeProgram, ExitCodeAndMessageFollowTheCommandLine) {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string program(self, n > 0 ? static_cast<size_t>(n) : 0);
  program = program.substr(0, program.find_last_of('/') + 1) + "ichscore";  // beside this one
  TempFolder folder;
  const std::string report = folder.path + "/report.txt";
  const std::string missing = folder.path + "/missing/report.txt";
  const std::string said = folder.path + "/stderr.txt";
  struct Case {
    std::string arguments;
    int code;
    bool written;      // the report is there, from its first line on
    std::string says;  // a part of the line on stderr; "": nothing is said
  } cases[] = {
      {"--selftest " + report, 0, true, ""},
      {"--selftest " + missing, 3, false, "could not be written to " + missing},
      {"--selftest " + std::string(520, 'p'), 3, false, "longer than 519 characters"},
      {"--verify " + report, 0, true, ""},
      {"--verify " + missing, 3, false, "verification report could not be written to " + missing},
      {"", 1, false, "this build offers --selftest [PATH] and --verify [PATH] only"},
  };
  for (const Case& c : cases) {
    std::remove(report.c_str());
    int status = std::system((program + " " + c.arguments + " 2>" + said).c_str());
    std::string line = c.arguments.substr(0, 40), errors = read_whole_file(said);
    EXPECT_EQ(c.code, WIFEXITED(status) ? WEXITSTATUS(status) : -1) << line;
    EXPECT_EQ(c.written, read_whole_file(report).rfind("TOOL|148|", 0) == 0) << line;
    EXPECT_TRUE(c.says.empty() ? errors.empty() : errors.find(c.says) != std::string::npos)
        << errors;
  }
}

}  // namespace

#endif  // !_WIN32
