#include <gtest/gtest.h>

#include <string>

#include "selftest/selftest.h"
#include "report_test_support.h"

namespace {

// Each CR LF of a report becomes one blank in the DETAIL field.
std::wstring flattened(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    out += c == L'\n' ? L' ' : c;
  }
  return out;
}

TEST(ReportSelftest, ReportKindWritesTheFixedOutLineAndTheFlattenedReport) {
  const ReportInput inputs[] = {{"drugA", 1}, {"drugB", 2}};
  ReportTestTool test_tool(6, inputs, 2);  // the inputs are also the defaults
  ReportOutcome report = run_test_report(6, {{"drugA", 1}, {"drugB", 2}});
  static wchar_t text[kSelftestReportCapacity];
  EXPECT_EQ(0, build_selftest_report(&test_tool.tool, text, kSelftestReportCapacity));
  std::wstring expected = std::wstring(L"TOOL|900|") + test_tool.tool.title + L"|" +
                          test_tool.tool.category +
                          L"\r\nLEVEL|3\r\n"
                          L"OUT|报告文本|见 DETAIL|"
                          L"\r\nVERDICT|"
                          L"禁忌：不可同瓶输注，需间隔冲管" +
                          L"\r\nDETAIL|" + flattened(report.result) + L"\r\nERRORS|0\r\n";
  EXPECT_EQ(expected, std::wstring(text));
  EXPECT_NE(std::wstring::npos,
            std::wstring(text).find(
                L"DETAIL|" + flattened(std::wstring(L"待查：1 号 头孢曲松  +  2 号 葡萄糖酸钙"
                                                    L"\r\n"))));
}

}  // namespace
