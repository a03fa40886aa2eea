// Choosing the mode from the whole command line: where "--selftest" and
// "--verify" stand, which report path follows, which switch wins, and how
// the native entry rebuilds the command line from its arguments.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"

namespace {

struct Parsed {
  ProgramMode mode;
  std::wstring path;
};

Parsed parse(const std::wstring& command_line) {
  wchar_t path[kReportPathCapacity + 8];
  for (wchar_t& ch : path) ch = L'#';
  ModeChoice choice = choose_mode(command_line.c_str(), path, kReportPathCapacity);
  for (int i = kReportPathCapacity; i < kReportPathCapacity + 8; ++i) EXPECT_EQ(L'#', path[i]);
  return {choice.mode, choice.mode != kModeWindow ? std::wstring(path) : std::wstring()};
}

TEST(CommandLine, EdgeCases) {
  struct Case {
    const wchar_t* command_line;
    ProgramMode mode;
    const wchar_t* path;
  } cases[] = {
      {L"ichscore.exe", kModeWindow, L""},
      {L"\"C:\\Program Files\\ichscore.exe\"", kModeWindow, L""},
      {L"", kModeWindow, L""},
      {L"ichscore.exe --selftest", kModeSelftest, L"selftest.txt"},
      {L"ichscore.exe --selftest ", kModeSelftest, L"selftest.txt"},
      {L"ichscore.exe --selftest out.txt", kModeSelftest, L"out.txt"},
      {L"ichscore.exe --selftest     out.txt", kModeSelftest, L"out.txt"},
      {L"ichscore.exe --selftest out.txt rest of line", kModeSelftest, L"out.txt"},
      {L"ichscore.exe --selftest \"C:\\my dir\\out file.txt\" rest", kModeSelftest,
       L"C:\\my dir\\out file.txt"},
      {L"ichscore.exe --selftest \"\"", kModeSelftest, L"selftest.txt"},
      {L"ichscore.exe --selftest \"\" out.txt", kModeSelftest, L"selftest.txt"},
      {L"ichscore.exe --selftest \"unmatched quote and blanks", kModeSelftest,
       L"unmatched quote and blanks"},
      {L"ichscore.exe --selftest\"a b\"", kModeSelftest, L"a b"},
      {L"ichscore.exe --selftest=out.txt", kModeSelftest, L"=out.txt"},
      {L"ichscore.exe x--selftest", kModeSelftest, L"selftest.txt"},
      {L"ichscore.exe x--selftest y.txt", kModeSelftest, L"y.txt"},
      {L"ichscore.exe --selftestx", kModeSelftest, L"x"},
      {L"ichscore.exe --selftest a.txt --selftest b.txt", kModeSelftest, L"a.txt"},
      {L"ichscore.exe --selftest--selftest b.txt", kModeSelftest, L"--selftest"},
      {L"ichscore.exe --selftest\tout.txt", kModeSelftest, L"\tout.txt"},
      {L"ichscore.exe --selftest \tout.txt more", kModeSelftest, L"\tout.txt"},
      {L"ichscore.exe --selftest out\tfile.txt", kModeSelftest, L"out\tfile.txt"},
      {L"C:\\tools--selftest\\ichscore.exe", kModeSelftest, L"\\ichscore.exe"},
      {L"\"C:\\a --selftest b\\ichscore.exe\" --selftest out.txt", kModeSelftest,
       L"b\\ichscore.exe\""},
      {L"ichscore.exe --SELFTEST out.txt", kModeWindow, L""},
      {L"ichscore.exe --selftes out.txt", kModeWindow, L""},
      {L"ichscore.exe -- selftest", kModeWindow, L""},
      {L"ichscore.exe -selftest", kModeWindow, L""},
      {L"ichscore.exe --selftest 报告.txt", kModeSelftest, L"报告.txt"},
      {L"ichscore.exe --verify", kModeVerify, L"verify.txt"},
      {L"ichscore.exe --verify \"D:\\核对 记录\\v.txt\" rest", kModeVerify,
       L"D:\\核对 记录\\v.txt"},
      {L"ichscore.exe --verify v.txt --selftest s.txt", kModeSelftest, L"s.txt"},
      {L"ichscore.exe --selftest s.txt --verify v.txt", kModeSelftest, L"s.txt"},
      {L"ichscore.exe --verify --selftest", kModeSelftest, L"selftest.txt"},
      {L"ichscore.exe --VERIFY v.txt", kModeWindow, L""},
  };
  for (const Case& c : cases) {
    Parsed p = parse(c.command_line);
    EXPECT_EQ(c.mode, p.mode) << std::wstring(c.command_line).size() << " chars";
    EXPECT_EQ(std::wstring(c.path), p.path);
  }
  wchar_t path[8] = L"keep";
  EXPECT_EQ(kNoSwitch, parse_selftest_switch(nullptr, path, 8));
}

// A path that does not fit whole is refused rather than cut to another name,
// which might be a file of someone else's.
TEST(CommandLine, PathsThatDoNotFitAreRefusedNotCut) {
  const std::wstring fits(519, L'q');
  const std::wstring too_long(520, L'p');
  struct Case {
    std::wstring command_line;
    int capacity;
    ReportSwitch expected;
    std::wstring path;  // empty when refused
  } cases[] = {
      {L"ichscore.exe --selftest " + fits + L" x", kReportPathCapacity, kSwitchPath, fits},
      {L"ichscore.exe --selftest " + too_long, kReportPathCapacity, kSwitchPathTooLong, L""},
      {L"ichscore.exe --selftest \"" + too_long + L"\"", kReportPathCapacity, kSwitchPathTooLong,
       L""},
      {L"ichscore.exe --selftest \"" + too_long, kReportPathCapacity, kSwitchPathTooLong, L""},
      {L"a --selftest out.txt", 8, kSwitchPath, L"out.txt"},
      {L"a --selftest out.txt", 7, kSwitchPathTooLong, L""},
      {L"a --selftest", 5, kSwitchPathTooLong, L""},
      {L"a --verify " + too_long, kReportPathCapacity, kSwitchPathTooLong, L""},
  };
  for (const Case& c : cases) {
    wchar_t path[kReportPathCapacity];
    for (wchar_t& ch : path) ch = L'#';
    EXPECT_EQ(c.expected, choose_mode(c.command_line.c_str(), path, c.capacity).report)
        << c.command_line.size() << " chars, capacity " << c.capacity;
    EXPECT_EQ(c.path, std::wstring(path));
  }
}

std::wstring join(std::initializer_list<const wchar_t*> args, int capacity = 1024) {
  const wchar_t* argv[16];
  int argc = 0;
  for (const wchar_t* a : args) argv[argc++] = a;
  wchar_t out[1024];
  join_command_line(argc, argv, out, capacity);
  return out;
}

TEST(CommandLine, JoinQuotesArgumentsWithBlanks) {
  EXPECT_EQ(L"ichscore", join({L"ichscore"}));
  EXPECT_EQ(L"ichscore --selftest out.txt", join({L"ichscore", L"--selftest", L"out.txt"}));
  EXPECT_EQ(L"\"/opt/my app/ichscore\" --selftest \"my out.txt\"",
            join({L"/opt/my app/ichscore", L"--selftest", L"my out.txt"}));
  EXPECT_EQ(L"ichscore --selftest ", join({L"ichscore", L"--selftest", L""}));
  EXPECT_EQ(L"a\tb", join({L"a\tb"}));
  EXPECT_EQ(L"", join({}));
  EXPECT_EQ(L"ichscore -", join({L"ichscore", L"--selftest"}, 11));
}

// What the native entry does: arguments joined, then parsed, give back the
// path argument exactly when it is non-empty and holds no quote.
TEST(CommandLine, JoinedArgumentsParseBackToThePath) {
  const wchar_t* paths[] = {L"out.txt",       L"my out.txt", L"/tmp/a b c/r.txt",
                            L"报告 文件.txt", L"=x",         L"\tx"};
  for (const wchar_t* path : paths) {
    Parsed p = parse(join({L"/usr/bin/ichscore", L"--selftest", path}));
    EXPECT_EQ(kModeSelftest, p.mode);
    EXPECT_EQ(std::wstring(path), p.path);
  }
  EXPECT_EQ(L"selftest.txt", parse(join({L"ichscore", L"--selftest", L""})).path);
  EXPECT_EQ(kModeWindow, parse(join({L"ichscore", L"out.txt"})).mode);
}

}  // namespace
