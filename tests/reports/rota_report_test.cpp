#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_test_support.h"

namespace {

TEST(ReportRota, ThreeNursesThreeDaysWholeText) {
  ReportOutcome out = run_test_report(1, {{"nurses", 3}, {"days", 3}});
  EXPECT_EQ(std::wstring(
                L"排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。"
                L"\r\n"
                L"人员：3 人；周期：3 天"
                L"\r\n\r\n"
                L"护士01："
                L"\r\n  "
                L"1日D 2日R 3日N"
                L" \r\n"
                L"护士02："
                L"\r\n  "
                L"1日N 2日D 3日R"
                L" \r\n"
                L"护士03："
                L"\r\n  "
                L"1日R 2日N 3日D"
                L" \r\n"
                L"\r\n"
                L"提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。"
                L"\r\n"),
            out.result);
  EXPECT_EQ(std::wstring(L"已生成轮转排班表，可复制到排班本或表格"), out.verdict);
  EXPECT_EQ(0, out.level);
}

// Number of nurse name lines and day entries on the first nurse's line.
struct RotaShape {
  int nurses;
  int days;
};

RotaShape rota_shape(const std::wstring& text) {
  std::vector<std::wstring> lines = report_lines(text);
  RotaShape shape{count_lines_starting_with(text, L"护士"), 0};
  if (lines.size() > 4)
    for (wchar_t c : lines[4]) shape.days += c == L'日';
  return shape;
}

TEST(ReportRota, NurseAndDayCountsAreLimited) {
  struct Row {
    bool present;
    double value;
    int expected;
  };
  const Row rows[] = {
      {false, 0, 1},
      {true, 0, 1},
      {true, 0.5, 1},
      {true, -3, 1},
      {true, 1, 1},
      {true, 2.99, 2},
      {true, 31, 31},
      {true, 31.9, 31},
      {true, 40, 40},
      {true, 41, 40},
      {true, 1e12, 40},
      {true, -1e12, 1},
      {true, 4294967298.0, 40},
      {true, 2147483648.0, 40},
  };
  for (const Row& row : rows) {
    RotaShape nurses = rota_shape(run_test_report_with(1, "nurses", row.present, row.value).result);
    EXPECT_EQ(row.expected, nurses.nurses) << "nurses " << row.value << " present " << row.present;
    EXPECT_EQ(1, nurses.days);
    int expected_days = row.expected > 31 ? 31 : row.expected;
    RotaShape days = rota_shape(run_test_report_with(1, "days", row.present, row.value).result);
    EXPECT_EQ(expected_days, days.days) << "days " << row.value << " present " << row.present;
    EXPECT_EQ(1, days.nurses);
  }
}

TEST(ReportRota, EveryNurseMovesOneStepBackEachDay) {
  ReportOutcome out = run_test_report(1, {{"nurses", 40}, {"days", 31}});
  std::vector<std::wstring> lines = report_lines(out.result);
  const wchar_t order[] = {L'D', L'N', L'R'};
  for (int i = 0; i < 40; ++i) {
    const std::wstring& day_line = lines[4 + 2 * static_cast<size_t>(i)];
    ASSERT_EQ(L"  ", day_line.substr(0, 2));
    ASSERT_EQ(L' ', day_line.back());
    int day = 0;
    for (size_t p = day_line.find(L'日'); p != std::wstring::npos;
         p = day_line.find(L'日', p + 1)) {
      EXPECT_EQ(order[(i + 2 * day) % 3], day_line[p + 1])
          << "nurse " << i + 1 << " day " << day + 1;
      ++day;
    }
    EXPECT_EQ(31, day);
  }
  EXPECT_NE(std::wstring::npos, out.result.find(L"31日"));
}

TEST(ReportRota, FortyNursesThirtyOneDaysFitEightThousandAndAreCutAtFourThousand) {
  ReportOutcome whole = run_test_report(1, {{"nurses", 40}, {"days", 31}}, 8192);
  EXPECT_EQ(6390u, whole.result.size());
  const std::wstring ending =
      L"提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。"
      L"\r\n";
  EXPECT_EQ(ending, whole.result.substr(whole.result.size() - ending.size()));

  ReportOutcome cut = run_test_report(1, {{"nurses", 40}, {"days", 31}}, 4096);
  EXPECT_EQ(4095u, cut.result.size());
  EXPECT_EQ(whole.result.substr(0, 4095), cut.result);
  EXPECT_EQ(whole.verdict, cut.verdict);
  EXPECT_EQ(0, cut.level);
}

}  // namespace
