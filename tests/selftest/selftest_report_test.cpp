// The self-test report of test tools: failing outputs, outputs without a
// unit, the DETAIL field's flattening and bound, a report kind other than 0,
// and reports far longer than one encoding buffer.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "base/text.h"
#include "base/utf8.h"
#include "platform/syscall_faults.h"
#include "reports/report.h"
#include "selftest/selftest.h"
#include "selftest/utf8_file.h"
#include "support/file_bytes.h"

namespace {

const ParameterDef kParameters[] = {{"p", L"P", nullptr, 5}};

ToolDef make_tool(const OutputDef* outputs, int output_count, const VerdictRule* rules,
                  int rule_count, int report_kind = 0) {
  return ToolDef{7,           L"测试|工具", nullptr, L"测试科",  L"依据", nullptr,     1,
                 kParameters, output_count, outputs, rule_count, rules,   report_kind, run_report};
}

std::wstring report_of(const ToolDef& tool, int* errors) {
  static wchar_t report[kSelftestReportCapacity];
  *errors = build_selftest_report(&tool, report, kSelftestReportCapacity);
  return report;
}

TEST(SelftestReport, FailingOutputStillWritesItsLineAndCounts) {
  const OutputDef outputs[] = {
      {"a", L"甲", L"分", "1/0", "f0"},    // fails with 0
      {"b", L"乙", nullptr, "p*2", "f1"},  // no unit: the line ends in "|"
      {"c", L"丙", L"", "2+1/0", "f0"},    // fails with 2, empty unit
      {"d", L"丁", L"ml", "1e999", "f2"},  // fails, infinite: "--"
  };
  ToolDef tool = make_tool(outputs, 4, nullptr, 0);
  int errors = -1;
  std::wstring report = report_of(tool, &errors);
  EXPECT_EQ(3, errors);
  EXPECT_EQ(
      L"TOOL|7|测试|工具|测试科\r\n"
      L"LEVEL|0\r\n"
      L"OUT|甲|0|分\r\n"
      L"OUT|乙|10.0|\r\n"
      L"OUT|丙|2|\r\n"
      L"OUT|丁|--|ml\r\n"
      L"VERDICT|请核对输入参数后重新计算\r\n"
      L"DETAIL|甲：0 分 乙：10.0 丙：2 丁：-- ml （部分结果无法计算，请检查输入是否合理） \r\n"
      L"ERRORS|3\r\n",
      report);
}

// The OUT lines evaluate each formula against zeroed output values, so a
// formula that reads an earlier output sees 0 there, unlike in the DETAIL
// line, which comes from the calculation run.
TEST(SelftestReport, OutLinesReadOtherOutputsAsZero) {
  const OutputDef outputs[] = {{"a", L"甲", nullptr, "p+1", "f0"},
                               {"b", L"乙", nullptr, "a*10", "f0"}};
  const VerdictRule rules[] = {{"b==60", 2, L"六十"}};
  ToolDef tool = make_tool(outputs, 2, rules, 1);
  int errors = -1;
  std::wstring report = report_of(tool, &errors);
  EXPECT_EQ(0, errors);
  EXPECT_EQ(
      L"TOOL|7|测试|工具|测试科\r\nLEVEL|2\r\nOUT|甲|6|\r\nOUT|乙|0|\r\nVERDICT|六十\r\n"
      L"DETAIL|甲：6 乙：60 \r\nERRORS|0\r\n",
      report);
}

TEST(SelftestReport, OtherReportKindsWriteTheFixedOutLine) {
  const OutputDef outputs[] = {{"a", L"甲", L"分", "1/0", "f0"},
                               {"b", L"乙", L"分", "log(0)", "f0"}};
  ToolDef tool = make_tool(outputs, 2, nullptr, 0, 3);
  int errors = -1;
  std::wstring report = report_of(tool, &errors);
  EXPECT_EQ(0, errors);
  EXPECT_EQ(0u, report.find(L"TOOL|7|测试|工具|测试科\r\nLEVEL|"));
  size_t out = report.find(L"\r\nOUT|");
  ASSERT_NE(std::wstring::npos, out);
  EXPECT_EQ(0u, report.compare(out, 30, L"\r\nOUT|报告文本|见 DETAIL|\r\nVERDICT|"));
  EXPECT_EQ(std::wstring::npos, report.find(L"OUT|", out + 6));  // exactly one OUT line
  EXPECT_EQ(std::wstring::npos, report.find(L"OUT|甲"));
  const std::wstring tail = L"\r\nERRORS|0\r\n";
  ASSERT_GE(report.size(), tail.size());
  EXPECT_EQ(tail, report.substr(report.size() - tail.size()));
}

std::wstring flatten(const wchar_t* text, int capacity = kSelftestReportCapacity) {
  static wchar_t report[kSelftestReportCapacity];
  text_copy(report, capacity, L"DETAIL|");
  append_flattened_detail(report, capacity, text);
  return report;
}

TEST(SelftestDetail, CrIsDroppedAndLfBecomesABlank) {
  EXPECT_EQ(L"DETAIL|a b ", flatten(L"a\r\nb\r\n"));
  EXPECT_EQ(L"DETAIL|a  b", flatten(L"a\n\nb"));
  EXPECT_EQ(L"DETAIL|ab", flatten(L"\r\ra\rb\r"));
  EXPECT_EQ(L"DETAIL|", flatten(L""));
  EXPECT_EQ(L"DETAIL|x|y", flatten(L"x|y"));
}

TEST(SelftestDetail, TakesAtMost8000CharactersNotCountingCr) {
  std::wstring long_text;
  for (int i = 0; i < 3000; ++i) long_text += L"评分\r\n";  // 9000 counted, 3000 CR
  std::wstring detail = flatten(long_text.c_str());
  ASSERT_EQ(7u + 8000u, detail.size());
  std::wstring expected;
  for (int i = 0; i < 2667; ++i) expected += L"评分 ";
  expected.resize(8000);
  EXPECT_EQ(L"DETAIL|" + expected, detail);

  std::wstring crs(7000, L'\r');
  crs += std::wstring(8000, L'x') + L"tail";
  EXPECT_EQ(L"DETAIL|" + std::wstring(8000, L'x'), flatten(crs.c_str()));
}

TEST(SelftestDetail, StaysWithinTheReportCapacity) {
  static wchar_t report[64];
  for (wchar_t& ch : report) ch = L'#';
  text_copy(report, 20, L"DETAIL|");
  append_flattened_detail(report, 20, L"abc\r\ndefghijklmnopqrstuvwxyz");
  EXPECT_EQ(L"DETAIL|abc defghijk", std::wstring(report));
  for (int i = 20; i < 64; ++i) ASSERT_EQ(L'#', report[i]);
}

TEST(SelftestReport, SmallReportCapacityCutsAndTerminates) {
  const OutputDef outputs[] = {{"a", L"甲", L"分", "p", "f0"}};
  ToolDef tool = make_tool(outputs, 1, nullptr, 0);
  static wchar_t report[80];
  for (wchar_t& ch : report) ch = L'#';
  build_selftest_report(&tool, report, 40);
  EXPECT_EQ(39, text_length(report));
  EXPECT_EQ(L"TOOL|7|测试|工具|测试科\r\nLEVEL|0\r\nOUT|甲|5|分\r\nV", std::wstring(report));
  for (int i = 40; i < 80; ++i) ASSERT_EQ(L'#', report[i]);
}

// The file's bytes, and whether it exists at all.
std::string read_file(const char* path, bool* exists) {
  *exists = file_exists(path);
  return read_whole_file(path);
}

// The report of a tool with long labels runs far beyond 8191 UTF-8 bytes; it
// is written whole.
TEST(SelftestReport, LongReportIsWrittenWhole) {
  static OutputDef outputs[kMaxOutputs];
  static wchar_t labels[kMaxOutputs][200];
  for (int i = 0; i < kMaxOutputs; ++i) {
    std::wstring label = std::to_wstring(i) + L"号";
    while (label.size() < 190) label += L"脑出血评分";
    text_copy(labels[i], 200, label.c_str());
    outputs[i] = {"o", labels[i], L"分", "p", "f0"};
  }
  ToolDef tool = make_tool(outputs, kMaxOutputs, nullptr, 0);
  static wchar_t report[kSelftestReportCapacity];
  build_selftest_report(&tool, report, kSelftestReportCapacity);

  static char expected[3 * kSelftestReportCapacity];
  size_t expected_n = utf8_encode(report, -1, expected, sizeof expected, nullptr);
  ASSERT_GT(expected_n, 16000u);
  std::remove("enginetests_long_report.txt");
  EXPECT_TRUE(write_utf8_text_file(L"enginetests_long_report.txt", report));
  bool exists = false;
  std::string data = read_file("enginetests_long_report.txt", &exists);
  EXPECT_TRUE(exists);
  EXPECT_EQ(expected_n, data.size());
  EXPECT_TRUE(std::string(expected, expected_n) == data)
      << "the file differs from the report's UTF-8 form";
  std::remove("enginetests_long_report.txt");
}

// Bytes the file must hold, built independently of the encoder: pieces of
// one, two, three and four UTF-8 bytes repeated across many 8192-byte
// boundaries of the writer's buffer.
TEST(Utf8File, WritesAnyLengthByteForByte) {
  std::wstring text;
  std::string bytes;
  for (int i = 0; i < 5000; ++i) {
    text += L"a\x00e9评\U0001F600";
    bytes += "a\xc3\xa9\xe8\xaf\x84\xf0\x9f\x98\x80";
  }
  std::remove("enginetests_utf8_file.txt");
  EXPECT_TRUE(write_utf8_text_file(L"enginetests_utf8_file.txt", text.c_str()));
  bool exists = false;
  std::string data = read_file("enginetests_utf8_file.txt", &exists);
  EXPECT_EQ(bytes.size(), data.size());
  EXPECT_TRUE(bytes == data) << "the file differs";

  // Writing again empties the file first; an empty text leaves it empty.
  EXPECT_TRUE(write_utf8_text_file(L"enginetests_utf8_file.txt", L"ab\r\n"));
  EXPECT_EQ("ab\r\n", read_file("enginetests_utf8_file.txt", &exists));
  EXPECT_TRUE(write_utf8_text_file(L"enginetests_utf8_file.txt", L""));
  EXPECT_EQ("", read_file("enginetests_utf8_file.txt", &exists));
  EXPECT_TRUE(exists);
  std::remove("enginetests_utf8_file.txt");
}

TEST(Utf8File, PathInAMissingFolderWritesNothing) {
  EXPECT_FALSE(write_utf8_text_file(L"enginetests_no_such_folder/report.txt", L"x"));
  bool exists = true;
  read_file("enginetests_no_such_folder/report.txt", &exists);
  EXPECT_FALSE(exists);
}

// A report that could not be written whole gives its own exit code, whatever
// the formulas gave, and leaves nothing at the path that looks like a report;
// a device at the path is never removed.
TEST(Selftest, ReportNotWrittenGivesItsOwnCodeAndNoFile) {
  struct Case {
    const char* what;
    const wchar_t* path;
    const char* narrow_path;  // checked to hold no file afterwards
    void (*fault)();
  } cases[] = {
      {"missing folder", L"enginetests_no_such_folder/selftest.txt",
       "enginetests_no_such_folder/selftest.txt", nullptr},
      {"path is a folder", L".", nullptr, nullptr},
      {"write fails", L"enginetests_cut_report.txt", "enginetests_cut_report.txt",
       [] { fail_write_after(0); }},
      {"close fails", L"enginetests_cut_report.txt", "enginetests_cut_report.txt", fail_close},
  };
  for (const Case& c : cases) {
    SyscallFaultScope faults;
    if (c.fault) c.fault();
    EXPECT_EQ(kSelftestNotWritten, run_selftest(c.path)) << c.what;
    if (!c.narrow_path) continue;
    bool exists = true;
    read_file(c.narrow_path, &exists);
    EXPECT_FALSE(exists) << c.what;
  }
#ifndef _WIN32
  struct stat info;
  if (stat("/dev/full", &info) == 0) {
    EXPECT_EQ(kSelftestNotWritten, run_selftest(L"/dev/full"));
    ASSERT_EQ(0, stat("/dev/full", &info));
    EXPECT_TRUE(S_ISCHR(info.st_mode));
  }
#endif
}

}  // namespace
