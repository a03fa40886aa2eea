// Choosing the program's mode from its whole command line.
#pragma once

// Capacity of a report path, in characters (519 and the NUL).
constexpr int kReportPathCapacity = 520;

// The paths used when a switch is followed by no path.
extern const wchar_t kDefaultSelftestPath[];
extern const wchar_t kDefaultVerifyPath[];

// What one switch of the command line asks for.
enum ReportSwitch {
  kNoSwitch = 0,       // the switch is not there
  kSwitchPath,         // the switch, with its report path written out
  kSwitchPathTooLong,  // the switch, but its path does not fit whole
};

// Searches the whole command line (program path included) for the first
// "--selftest", anywhere and case-sensitively. Returns kNoSwitch when there
// is none. Otherwise takes the report path that follows the switch: blanks
// skipped, then either the text between double quotes (an unmatched quote
// takes the rest) or the text up to the next blank; an empty path becomes
// "selftest.txt". A path of more than 519 characters, or more than the
// capacity holds, is never cut to another name: the path is left empty and
// kSwitchPathTooLong returned.
ReportSwitch parse_selftest_switch(const wchar_t* command_line, wchar_t* path, int capacity);

// The same for "--verify", whose path defaults to "verify.txt".
ReportSwitch parse_verify_switch(const wchar_t* command_line, wchar_t* path, int capacity);

enum ProgramMode {
  kModeWindow = 0,  // neither switch: the calculator window
  kModeSelftest,    // "--selftest", whether "--verify" is there too or not
  kModeVerify,      // "--verify" without "--selftest"
};

struct ModeChoice {
  ProgramMode mode;
  ReportSwitch report;  // how the mode's report path was read; kNoSwitch for the window
};

// The mode the command line asks for, with its report path in path. The
// self-test wins when both switches appear, so a script that asks for it
// always gets its report.
ModeChoice choose_mode(const wchar_t* command_line, wchar_t* path, int capacity);

// Rebuilds a command line from argument strings as the system would show it:
// arguments joined by one blank, an argument that holds a blank quoted.
// Cut to the capacity and terminated.
void join_command_line(int argc, const wchar_t* const* argv, wchar_t* out, int capacity);
