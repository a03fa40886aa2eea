#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/format.h"
#include "platform/platform.h"
#include "reports/report_generators.h"
#include "report_test_support.h"

namespace {

ReportOutcome run_followup_from(long long today, std::initializer_list<ReportInput> inputs) {
  ReportTestTool test_tool(7, inputs.begin(), static_cast<int>(inputs.size()));
  wchar_t result[8192];
  wchar_t verdict[512];
  result[0] = verdict[0] = 0;
  int level =
      followup_plan_from_day(today, &test_tool.tool, test_tool.values, result, 8192, verdict, 512);
  return {result, verdict, level};
}

// The visit dates of a plan: the text after the colon of each visit line.
std::vector<std::wstring> visit_dates(const std::wstring& text) {
  std::vector<std::wstring> lines = report_lines(text);
  std::vector<std::wstring> dates;
  for (size_t i = 1; i + 1 < lines.size(); ++i)
    dates.push_back(lines[i].substr(lines[i].find(L'：') + 1));
  return dates;
}

TEST(ReportFollowup, WholeTextFromAFixedDay) {
  ReportOutcome out = run_followup_from(day_number_from_date(2024, 2, 28),
                                        {{"start", 0}, {"gap", 7}, {"times", 3}});
  EXPECT_EQ(std::wstring(L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 3 次）："
                         L"\r\n"
                         L"第 1 次：2024-02-28"
                         L"\r\n"
                         L"第 2 次：2024-03-06"
                         L"\r\n"
                         L"第 3 次：2024-03-13"
                         L"\r\n"
                         L"内容：症状与体征、用药依从性、复查项目、并发症预警、是否需要提前复诊。"
                         L"\r\n"),
            out.result);
  EXPECT_EQ(std::wstring(L"随访计划已生成，可按日期短信提醒患者"), out.verdict);
  EXPECT_EQ(0, out.level);
}

TEST(ReportFollowup, DatesCrossMonthLeapDayAndYearEnds) {
  struct Row {
    int year, month, day;
    double start, gap, times;
    std::vector<std::wstring> dates;
  };
  const Row rows[] = {
      {2024, 2, 28, 7, 7, 1, {L"2024-03-06"}},
      {2025, 2, 28, 7, 7, 1, {L"2025-03-07"}},
      {2024, 2, 22, 0, 7, 2, {L"2024-02-22", L"2024-02-29"}},
      {2000, 2, 28, 1, 1, 2, {L"2000-02-29", L"2000-03-01"}},
      {2100, 2, 28, 1, 1, 1, {L"2100-03-01"}},
      {2024, 4, 30, 1, 30, 2, {L"2024-05-01", L"2024-05-31"}},
      {2024, 12, 30, 1, 1, 3, {L"2024-12-31", L"2025-01-01", L"2025-01-02"}},
      {2025, 1, 1, -2, 7, 1, {L"2024-12-30"}},
      {2024, 3, 1, -1, 7, 1, {L"2024-02-29"}},
      {2023, 3, 1, -1, 7, 1, {L"2023-02-28"}},
      {2024, 1, 31, 0, 365, 2, {L"2024-01-31", L"2025-01-30"}},
      {1970, 1, 1, -1, 7, 1, {L"1969-12-31"}},
  };
  for (const Row& row : rows) {
    ReportOutcome out =
        run_followup_from(day_number_from_date(row.year, row.month, row.day),
                          {{"start", row.start}, {"gap", row.gap}, {"times", row.times}});
    EXPECT_EQ(row.dates, visit_dates(out.result)) << row.year << "-" << row.month << "-" << row.day;
  }
}

TEST(ReportFollowup, InputsAreLimited) {
  struct Row {
    bool present;
    const char* key;
    double value;
    const wchar_t* heading;
    size_t visits;
  };
  const Row rows[] = {
      {false, "start", 0, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 1 次）：", 1},
      {true, "start", -2.7, L"随访节点（以今天为基准，起始第 -2 天，间隔 7 天，共 1 次）：", 1},
      {true, "start", 1e12, L"随访节点（以今天为基准，起始第 2147483647 天，间隔 7 天，共 1 次）：",
       1},
      {true, "start", -1e12,
       L"随访节点（以今天为基准，起始第 -2147483648 天，间隔 7 天，共 1 次）：", 1},
      {true, "gap", 0, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 1 次）：", 1},
      {true, "gap", -3, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 1 次）：", 1},
      {true, "gap", 0.9, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 1 次）：", 1},
      {true, "gap", 1, L"随访节点（以今天为基准，起始第 0 天，间隔 1 天，共 1 次）：", 1},
      {true, "gap", 1e12, L"随访节点（以今天为基准，起始第 0 天，间隔 2147483647 天，共 1 次）：",
       1},
      {true, "gap", -1e12, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 1 次）：", 1},
      {true, "times", 0, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 1 次）：", 1},
      {true, "times", 19.9, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 19 次）：", 19},
      {true, "times", 20, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 20 次）：", 20},
      {true, "times", 25, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 20 次）：", 20},
      {true, "times", -1e12, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 1 次）：", 1},
      {true, "times", 1e12, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 20 次）：", 20},
  };
  for (const Row& row : rows) {
    ReportInput input{row.key, row.value};
    ReportTestTool test_tool(7, &input, row.present ? 1 : 0);
    wchar_t result[8192];
    wchar_t verdict[512];
    result[0] = verdict[0] = 0;
    followup_plan_from_day(0, &test_tool.tool, test_tool.values, result, 8192, verdict, 512);
    EXPECT_EQ(std::wstring(row.heading), report_lines(result)[0]) << row.key << " " << row.value;
    EXPECT_EQ(row.visits, visit_dates(result).size()) << row.key << " " << row.value;
  }
}

TEST(ReportFollowup, FarStartsStayWithinTheCalendar) {
  // -2^31 and 2^31 - 1 + 19 * (2^31 - 1) days from 1970: no overflow, a date text each.
  ReportOutcome low = run_followup_from(0, {{"start", -2147483648.0}, {"times", 1}});
  EXPECT_EQ(std::wstring(L"-5877641-06-23"), visit_dates(low.result).at(0));
  ReportOutcome high =
      run_followup_from(0, {{"start", 2147483647.0}, {"gap", 2147483647.0}, {"times", 20}});
  std::vector<std::wstring> dates = visit_dates(high.result);
  ASSERT_EQ(20u, dates.size());
  EXPECT_EQ(std::wstring(L"117594180-06-28"), dates.back());  // day 20 * (2^31 - 1)
}

std::wstring two_digits(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

std::wstring iso_date(const PlatformDateTime& t) {
  return std::to_wstring(t.year) + L"-" + two_digits(t.month) + L"-" + two_digits(t.day);
}

TEST(ReportFollowup, RealEntryCountsFromTodaysLocalDate) {
  PlatformDateTime before{};
  platform_local_time(&before);
  ReportOutcome out = run_test_report(7, {{"start", 0}, {"gap", 7}, {"times", 2}});
  PlatformDateTime after{};
  platform_local_time(&after);

  std::vector<std::wstring> dates = visit_dates(out.result);
  ASSERT_EQ(2u, dates.size());
  // The date may change between the two clock reads; either day is right.
  bool from_before = dates[0] == iso_date(before);
  bool from_after = dates[0] == iso_date(after);
  EXPECT_TRUE(from_before || from_after) << "first visit " << dates[0].size();
  const PlatformDateTime& today = from_before ? before : after;
  wchar_t week_later[32];
  date_text_from_day_number(day_number_from_date(today.year, today.month, today.day) + 7,
                            week_later, 32);
  EXPECT_EQ(std::wstring(week_later), dates[1]);
}

}  // namespace
