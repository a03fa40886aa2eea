// Choosing the program's mode from its whole command line.
#pragma once

// Capacity of the self-test report path, in characters (519 and the NUL).
constexpr int kReportPathCapacity = 520;

// The path used when the switch is followed by no path.
extern const wchar_t kDefaultReportPath[];

// Searches the whole command line (program path included) for the first
// "--selftest", anywhere and case-sensitively. Returns false when there is
// none. Otherwise writes the report path that follows the switch: blanks
// skipped, then either the text between double quotes (an unmatched quote
// takes the rest) or the text up to the next blank, at most 519 characters;
// an empty path becomes "selftest.txt". Returns true.
bool parse_selftest_switch(const wchar_t* command_line, wchar_t* path, int capacity);

// Rebuilds a command line from argument strings as the system would show it:
// arguments joined by one blank, an argument that holds a blank quoted.
// Cut to the capacity and terminated.
void join_command_line(int argc, const wchar_t* const* argv, wchar_t* out, int capacity);
