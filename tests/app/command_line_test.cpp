// Choosing the mode from the whole command line: where "--selftest" stands,
// which report path follows it, and how the native entry rebuilds the
// command line from its arguments.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"

namespace {

struct Parsed {
  bool selftest;
  std::wstring path;
};

Parsed parse(const std::wstring& command_line) {
  wchar_t path[kSelftestPathCapacity + 8];
  for (wchar_t& ch : path) ch = L'#';
  bool selftest = parse_selftest_switch(command_line.c_str(), path, kSelftestPathCapacity);
  for (int i = kSelftestPathCapacity; i < kSelftestPathCapacity + 8; ++i) EXPECT_EQ(L'#', path[i]);
  return {selftest, selftest ? std::wstring(path) : std::wstring()};
}

TEST(CommandLine, EdgeCases) {
  struct Case {
    const wchar_t* command_line;
    bool selftest;
    const wchar_t* path;
  } cases[] = {
      {L"ichscore.exe", false, L""},
      {L"\"C:\\Program Files\\ichscore.exe\"", false, L""},
      {L"", false, L""},
      {L"ichscore.exe --selftest", true, L"selftest.txt"},
      {L"ichscore.exe --selftest ", true, L"selftest.txt"},
      {L"ichscore.exe --selftest out.txt", true, L"out.txt"},
      {L"ichscore.exe --selftest     out.txt", true, L"out.txt"},
      {L"ichscore.exe --selftest out.txt rest of line", true, L"out.txt"},
      {L"ichscore.exe --selftest \"C:\\my dir\\out file.txt\" rest", true,
       L"C:\\my dir\\out file.txt"},
      {L"ichscore.exe --selftest \"\"", true, L"selftest.txt"},
      {L"ichscore.exe --selftest \"\" out.txt", true, L"selftest.txt"},
      {L"ichscore.exe --selftest \"unmatched quote and blanks", true,
       L"unmatched quote and blanks"},
      {L"ichscore.exe --selftest\"a b\"", true, L"a b"},
      {L"ichscore.exe --selftest=out.txt", true, L"=out.txt"},
      {L"ichscore.exe x--selftest", true, L"selftest.txt"},
      {L"ichscore.exe x--selftest y.txt", true, L"y.txt"},
      {L"ichscore.exe --selftestx", true, L"x"},
      {L"ichscore.exe --selftest a.txt --selftest b.txt", true, L"a.txt"},
      {L"ichscore.exe --selftest--selftest b.txt", true, L"--selftest"},
      {L"ichscore.exe --selftest\tout.txt", true, L"\tout.txt"},
      {L"ichscore.exe --selftest \tout.txt more", true, L"\tout.txt"},
      {L"ichscore.exe --selftest out\tfile.txt", true, L"out\tfile.txt"},
      {L"C:\\tools--selftest\\ichscore.exe", true, L"\\ichscore.exe"},
      {L"\"C:\\a --selftest b\\ichscore.exe\" --selftest out.txt", true, L"b\\ichscore.exe\""},
      {L"ichscore.exe --SELFTEST out.txt", false, L""},
      {L"ichscore.exe --selftes out.txt", false, L""},
      {L"ichscore.exe -- selftest", false, L""},
      {L"ichscore.exe -selftest", false, L""},
      {L"ichscore.exe --selftest 报告.txt", true, L"报告.txt"},
  };
  for (const Case& c : cases) {
    Parsed p = parse(c.command_line);
    EXPECT_EQ(c.selftest, p.selftest) << std::wstring(c.command_line).size() << " chars";
    EXPECT_EQ(std::wstring(c.path), p.path);
  }
  wchar_t path[8] = L"keep";
  EXPECT_FALSE(parse_selftest_switch(nullptr, path, 8));
}

// A path that does not fit whole is refused rather than cut to another name,
// which might be a file of someone else's.
TEST(CommandLine, PathsThatDoNotFitAreRefusedNotCut) {
  const std::wstring fits(519, L'q');
  const std::wstring too_long(520, L'p');
  struct Case {
    std::wstring command_line;
    int capacity;
    SelftestSwitch expected;
    std::wstring path;  // empty when refused
  } cases[] = {
      {L"ichscore.exe --selftest " + fits + L" x", kSelftestPathCapacity, kSelftestPath, fits},
      {L"ichscore.exe --selftest " + too_long, kSelftestPathCapacity, kSelftestPathTooLong, L""},
      {L"ichscore.exe --selftest \"" + too_long + L"\"", kSelftestPathCapacity,
       kSelftestPathTooLong, L""},
      {L"ichscore.exe --selftest \"" + too_long, kSelftestPathCapacity, kSelftestPathTooLong, L""},
      {L"a --selftest out.txt", 8, kSelftestPath, L"out.txt"},
      {L"a --selftest out.txt", 7, kSelftestPathTooLong, L""},
      {L"a --selftest", 5, kSelftestPathTooLong, L""},
  };
  for (const Case& c : cases) {
    wchar_t path[kSelftestPathCapacity];
    for (wchar_t& ch : path) ch = L'#';
    EXPECT_EQ(c.expected, parse_selftest_switch(c.command_line.c_str(), path, c.capacity))
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
    EXPECT_TRUE(p.selftest);
    EXPECT_EQ(std::wstring(path), p.path);
  }
  EXPECT_EQ(L"selftest.txt", parse(join({L"ichscore", L"--selftest", L""})).path);
  EXPECT_FALSE(parse(join({L"ichscore", L"out.txt"})).selftest);
}

}  // namespace
