#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "base/text.h"
#include "report_test_support.h"
#include "reports/report_lines.h"

namespace {

struct IntegerCase {
  double value;
  int expected;
};

TEST(ReportLines, IntegerInputTruncatesTowardZeroAndSaturates) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const IntegerCase cases[] = {
      {0.0, 0},
      {2.9, 2},
      {-0.5, 0},
      {-2.9, -2},
      {2147483647.0, INT_MAX},
      {2147483647.9, INT_MAX},   // truncates into range
      {2147483648.0, INT_MAX},   // first value past the top
      {-2147483648.0, INT_MIN},  // the bottom itself
      {-2147483648.9, INT_MIN},  // truncates to the bottom
      {-2147483649.0, INT_MIN},  // first whole value past the bottom
      {4294967296.0, INT_MAX},
      {4294967297.0, INT_MAX},   // would wrap to 1 if taken modulo 2^32
      {-4294967295.0, INT_MIN},  // would wrap to 1 as well
      {1e12, INT_MAX},
      {-1e12, INT_MIN},
      {1e300, INT_MAX},
      {-1e300, INT_MIN},
      {inf, INT_MAX},
      {-inf, INT_MIN},
      {nan, 0},
      {-nan, 0},
  };
  for (const IntegerCase& c : cases)
    EXPECT_EQ(c.expected, integer_from_report_value(c.value)) << "value " << c.value;
}

TEST(ReportLines, InputIsTheFirstParameterWithTheKeyOrZero) {
  const ReportInput inputs[] = {{"Kind", 7}, {"kind", 3}, {"kind", 5}, {"kindly", 9}};
  ReportTestTool test_tool(3, inputs, 4);
  EXPECT_EQ(3.0, report_input(&test_tool.tool, test_tool.values, "kind"));
  EXPECT_EQ(7.0, report_input(&test_tool.tool, test_tool.values, "Kind"));
  EXPECT_EQ(0.0, report_input(&test_tool.tool, test_tool.values, "kin"));
  EXPECT_EQ(0.0, report_input(&test_tool.tool, test_tool.values, "panel"));
  EXPECT_EQ(0, report_integer_input(&test_tool.tool, test_tool.values, "panel"));
}

TEST(ReportLines, FixedLineKeepsPercentSignsAndFormatExpandsThem) {
  wchar_t result[64];
  text_clear(result, 64);
  append_report_line(result, 64, L"10% KCl %d %%");
  append_report_line_format(result, 64, L"%02d|%.0f|%.2f|%ls|%c|%%", 7, 2.5, 0.125, L"药", L'D');
  append_report_line(result, 64, L"");
  EXPECT_EQ(std::wstring(L"10% KCl %d %%\r\n07|2|0.12|药|D|%\r\n\r\n"), result);
}

TEST(ReportLines, AppendsAreBoundedAndTheLineEndIsCutFirst) {
  struct Case {
    int capacity;
    const wchar_t* expected;
  };
  // Each buffer gets the line "abcde", then a fixed and a formatted line.
  const Case cases[] = {
      {1, L""},
      {4, L"abc"},
      {6, L"abcde"},      // no room for any line end
      {7, L"abcde\r"},    // the LF is lost
      {8, L"abcde\r\n"},  // full: later lines add nothing
      {10, L"abcde\r\nx\r"},
      {13, L"abcde\r\nx\r\n1\r"},
  };
  for (const Case& c : cases) {
    wchar_t result[16];
    for (wchar_t& ch : result) ch = L'?';
    text_clear(result, c.capacity);
    append_report_line(result, c.capacity, L"abcde");
    append_report_line(result, c.capacity, L"x");
    append_report_line_format(result, c.capacity, L"%d", 1);
    EXPECT_EQ(std::wstring(c.expected), result) << "capacity " << c.capacity;
    EXPECT_EQ(L'?', result[c.capacity]) << "capacity " << c.capacity;
  }
}

TEST(ReportLines, LineScratchCutsAt511Characters) {
  std::wstring long_line(700, L'x');
  static wchar_t result[2048];
  text_clear(result, 2048);
  append_report_line(result, 2048, long_line.c_str());
  EXPECT_EQ(std::wstring(511, L'x') + L"\r\n", result);
  text_clear(result, 2048);
  append_report_line_format(result, 2048, L"%ls!", long_line.c_str());
  EXPECT_EQ(std::wstring(511, L'x') + L"\r\n", result);
}

}  // namespace
