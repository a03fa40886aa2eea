#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "report_test_support.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The dose entries of the report's one dose line.
std::vector<std::wstring> dose_entries(const std::wstring& text) {
  std::vector<std::wstring> entries;
  std::wstring line = report_lines(text).at(1);
  const std::wstring separator = L"  |  ";
  size_t start = 0;
  for (size_t p; (p = line.find(separator, start)) != std::wstring::npos;
       start = p + separator.size())
    entries.push_back(line.substr(start, p - start));
  entries.push_back(line.substr(start));
  return entries;
}

TEST(ReportDosing, EightHourlyFromEightWholeText) {
  ReportOutcome out = run_test_report(2, {{"start", 8}, {"interval", 8}, {"times", 4}});
  EXPECT_EQ(std::wstring(L"首剂时间 8:00，间隔 8 小时，共 4 次："
                         L"\r\n"
                         L"第1天 08:00"
                         L"  |  "
                         L"第1天 16:00"
                         L"  |  "
                         L"第2天 00:00"
                         L"  |  "
                         L"第2天 08:00"
                         L"\r\n"
                         L"说明：按等间隔给药；抗菌药物需结合半衰期与肾肝功能调整。"
                         L"\r\n"),
            out.result);
  EXPECT_EQ(std::wstring(L"给药时间表已生成，注意首剂与夜间给药时间"), out.verdict);
  EXPECT_EQ(0, out.level);
}

TEST(ReportDosing, DoseTimes) {
  struct Row {
    double start;
    double interval;
    int times;
    std::vector<std::wstring> entries;
  };
  const Row rows[] = {
      {7.6, 8, 1, {L"第1天 07:35"}},  // 0.6 h is 35.99... min: truncated
      {8.1, 8, 1, {L"第1天 08:05"}},
      {0, 8, 1, {L"第1天 00:00"}},
      {-3, 8, 1, {L"第1天 00:00"}},
      {23.99, 0.5, 3, {L"第1天 23:59", L"第2天 00:29", L"第2天 00:59"}},
      {22, 12, 4, {L"第1天 22:00", L"第2天 10:00", L"第2天 22:00", L"第3天 10:00"}},
      {0, 24, 3, {L"第1天 00:00", L"第2天 00:00", L"第3天 00:00"}},
      {100, 1000, 2, {L"第5天 04:00", L"第46天 20:00"}},
      // The last day that fits the counter, then the marker beyond it.
      {2147483646.0 * 24, 24, 2, {L"第2147483647天 00:00", L"\x7B2C--\x5929 --:--"}},
      {1e300, 8, 1, {L"\x7B2C--\x5929 --:--"}},
      {1e308,
       1e308,
       3,
       {L"\x7B2C--\x5929 --:--", L"\x7B2C--\x5929 --:--", L"\x7B2C--\x5929 --:--"}},
      {kInf, 8, 1, {L"第1天 00:00"}},
      {kNaN, 8, 1, {L"第1天 00:00"}},
      {1, kInf, 2, {L"第1天 01:00", L"第1天 09:00"}},
      {1, kNaN, 2, {L"第1天 01:00", L"第1天 09:00"}},
  };
  for (const Row& row : rows) {
    ReportOutcome out = run_test_report(2, {{"start", row.start},
                                            {"interval", row.interval},
                                            {"times", static_cast<double>(row.times)}});
    EXPECT_EQ(row.entries, dose_entries(out.result))
        << "start " << row.start << " interval " << row.interval;
  }
}

TEST(ReportDosing, HeadingShowsTheLimitedInputs) {
  struct Row {
    double start;
    bool interval_present;
    double interval;
    const wchar_t* heading;
  };
  const Row rows[] = {
      {7.6, true, 8, L"首剂时间 8:00，间隔 8 小时，共 1 次："},
      {2.5, true, 2.5, L"首剂时间 2:00，间隔 2 小时，共 1 次："},  // ties go to the even digit
      {-3, true, 0, L"首剂时间 0:00，间隔 8 小时，共 1 次："},
      {0, true, -2, L"首剂时间 0:00，间隔 8 小时，共 1 次："},
      {0, true, 0.4, L"首剂时间 0:00，间隔 0 小时，共 1 次："},
      {0, false, 0, L"首剂时间 0:00，间隔 8 小时，共 1 次："},
  };
  for (const Row& row : rows) {
    ReportInput inputs[] = {{"start", row.start}, {"interval", row.interval}};
    ReportOutcome out = run_test_report(2, inputs, row.interval_present ? 2 : 1);
    EXPECT_EQ(std::wstring(row.heading), report_lines(out.result).at(0))
        << row.start << " " << row.interval;
  }
}

TEST(ReportDosing, DoseCountIsLimitedToOneToThirty) {
  struct Row {
    bool present;
    double times;
    size_t expected;
  };
  const Row rows[] = {
      {false, 0, 1},  {true, 0, 1},     {true, -4, 1},    {true, 1.9, 1},
      {true, 2, 2},   {true, 30, 30},   {true, 30.5, 30}, {true, 31, 30},
      {true, 45, 30}, {true, 1e12, 30}, {true, -1e12, 1}, {true, kNaN, 1},
  };
  for (const Row& row : rows) {
    ReportOutcome out = run_test_report_with(2, "times", row.present, row.times);
    EXPECT_EQ(row.expected, dose_entries(out.result).size()) << row.times;
  }
  ReportOutcome thirty = run_test_report(2, {{"start", 8}, {"times", 30}});
  std::vector<std::wstring> entries = dose_entries(thirty.result);
  EXPECT_EQ(L"第11天 00:00", entries.back());  // 8 + 29 * 8 = 240 hours, the start of day 11
}

}  // namespace
