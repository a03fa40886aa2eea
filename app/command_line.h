// Choosing the program's mode from its whole command line.
#pragma once

// Capacity of the self-test report path, in characters (519 and the NUL).
constexpr int kSelftestPathCapacity = 520;

// The path used when the switch is followed by no path.
extern const wchar_t kDefaultReportPath[];

// What the command line asks for.
enum SelftestSwitch {
  kNoSelftest = 0,       // no "--selftest": the calculator window
  kSelftestPath,         // the self-test, with the report path written out
  kSelftestPathTooLong,  // the self-test, but its path does not fit whole
};

// Searches the whole command line (program path included) for the first
// "--selftest", anywhere and case-sensitively. Returns kNoSelftest when there
// is none. Otherwise takes the report path that follows the switch: blanks
// skipped, then either the text between double quotes (an unmatched quote
// takes the rest) or the text up to the next blank; an empty path becomes
// "selftest.txt". A path of more than 519 characters, or more than the
// capacity holds, is never cut to another name: the path is left empty and
// kSelftestPathTooLong returned.
SelftestSwitch parse_selftest_switch(const wchar_t* command_line, wchar_t* path, int capacity);

// Rebuilds a command line from argument strings as the system would show it:
// arguments joined by one blank, an argument that holds a blank quoted.
// Cut to the capacity and terminated.
void join_command_line(int argc, const wchar_t* const* argv, wchar_t* out, int capacity);
