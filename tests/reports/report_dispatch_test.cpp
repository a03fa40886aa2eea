#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/text.h"
#include "engine/calculation.h"
#include "report_test_support.h"
#include "support/alloc_counter.h"

namespace {

const wchar_t kNoReportText[] = L"（该工具暂无自定义报告）";
const wchar_t kNoReportVerdict[] = L"暂无报告内容";

TEST(ReportDispatch, KindsOutsideOneToElevenGiveTheNoReportText) {
  const int kinds[] = {0, 12, -1, 13, 100, INT_MIN, INT_MAX};
  for (int kind : kinds) {
    ReportOutcome out = run_test_report(kind, {{"kind", 1}, {"nurses", 3}});
    EXPECT_EQ(std::wstring(kNoReportText), out.result) << kind;  // no line end
    EXPECT_EQ(std::wstring(kNoReportVerdict), out.verdict) << kind;
    EXPECT_EQ(0, out.level) << kind;
  }
}

struct KindRow {
  int kind;
  const wchar_t* verdict;
  int level;
};

// Verdicts and levels with every input absent; kind 6 also with a listed pair.
const KindRow kKindRows[] = {
    {1, L"已生成轮转排班表，可复制到排班本或表格", 0},
    {2, L"给药时间表已生成，注意首剂与夜间给药时间", 0},
    {3, L"按标准顺序采血可减少溶血与交叉污染", 0},
    {4, L"危急值必须闭环：报告、接收、处理、记录", 0},
    {5, L"高警示药品须专区、专标识、双人核对", 0},
    {6, L"未收录明确禁忌，仍需核对院内配伍表", 0},
    {7, L"随访计划已生成，可按日期短信提醒患者", 0},
    {8, L"三方核查缺一不可，签字后归档", 0},
    {9, L"模板已生成，床旁交接并双方签名", 0},
    {10, L"输液卡已生成，双人核对后执行", 0},
    {11, L"套餐与采血管已列出，按顺序采血", 0},
};

TEST(ReportDispatch, EachKindRunsItsReport) {
  for (const KindRow& row : kKindRows) {
    ReportOutcome out = run_test_report(row.kind, {});
    EXPECT_EQ(std::wstring(row.verdict), out.verdict) << row.kind;
    EXPECT_EQ(row.level, out.level) << row.kind;
    ASSERT_GE(out.result.size(), 2u) << row.kind;
    EXPECT_EQ(L"\r\n", out.result.substr(out.result.size() - 2)) << row.kind;
  }
  ReportOutcome pair = run_test_report(6, {{"drugA", 9}, {"drugB", 2}});
  EXPECT_EQ(std::wstring(L"禁忌：不可同瓶输注，需间隔冲管"), pair.verdict);
  EXPECT_EQ(3, pair.level);
}

TEST(ReportDispatch, CapacityOneKeepsOnlyTheTerminatorButVerdictAndLevel) {
  for (int kind = 1; kind <= 11; ++kind) {
    ReportOutcome whole =
        run_test_report(kind, {{"drugA", 6}, {"drugB", 7}, {"nurses", 40}, {"days", 31}});
    ReportOutcome cut =
        run_test_report(kind, {{"drugA", 6}, {"drugB", 7}, {"nurses", 40}, {"days", 31}}, 1);
    EXPECT_EQ(L"", cut.result) << kind;
    EXPECT_EQ(whole.verdict, cut.verdict) << kind;
    EXPECT_FALSE(cut.verdict.empty()) << kind;
    EXPECT_EQ(whole.level, cut.level) << kind;
  }
  EXPECT_EQ(1, run_test_report(6, {{"drugA", 6}, {"drugB", 7}}, 1).level);
}

TEST(ReportDispatch, EveryCutIsAPrefixOfTheWholeText) {
  const int capacities[] = {2, 3, 13, 50, 99, 100, 101, 257, 1000};
  for (int kind = 1; kind <= 11; ++kind) {
    ReportOutcome whole =
        run_test_report(kind, {{"beds", 30}, {"nurses", 12}, {"days", 31}, {"times", 30}});
    for (int capacity : capacities) {
      ReportOutcome cut = run_test_report(
          kind, {{"beds", 30}, {"nurses", 12}, {"days", 31}, {"times", 30}}, capacity);
      size_t expected = whole.result.size() < static_cast<size_t>(capacity - 1)
                            ? whole.result.size()
                            : static_cast<size_t>(capacity - 1);
      EXPECT_EQ(whole.result.substr(0, expected), cut.result)
          << "kind " << kind << " capacity " << capacity;
    }
  }
}

TEST(ReportDispatch, NoRoomAtAllStillReturnsTheLevel) {
  ReportTestTool test_tool(6, nullptr, 0);
  const ReportInput inputs[] = {{"drugA", 2}, {"drugB", 1}};
  ReportTestTool pair(6, inputs, 2);
  wchar_t result[1] = {L'?'};
  wchar_t verdict[1] = {L'?'};
  EXPECT_EQ(3, run_report(6, &pair.tool, pair.values, result, 0, verdict, 0));
  EXPECT_EQ(L'?', result[0]);
  EXPECT_EQ(L'?', verdict[0]);
  EXPECT_EQ(3, run_report(6, &pair.tool, pair.values, nullptr, 100, nullptr, 100));
  EXPECT_EQ(0, run_report(0, &test_tool.tool, test_tool.values, result, 0, verdict, 0));
  EXPECT_EQ(L'?', result[0]);
  // A verdict without room, or with room for its terminator only, leaves the
  // result whole; the one-cell verdict is terminated.
  const std::wstring whole = run_test_report(6, {{"drugA", 2}, {"drugB", 1}}).result;
  for (int verdict_capacity : {0, 1}) {
    wchar_t text[512];
    wchar_t one_cell[1] = {L'?'};
    EXPECT_EQ(3, run_report(6, &pair.tool, pair.values, text, 512, one_cell, verdict_capacity));
    EXPECT_EQ(whole, text) << verdict_capacity;
    EXPECT_EQ(verdict_capacity == 0 ? L'?' : L'\0', one_cell[0]) << verdict_capacity;
  }
}

TEST(ReportDispatch, NoReportAllocatesMemory) {
  const ReportInput inputs[] = {{"nurses", 40},  {"days", 31}, {"start", 7.6}, {"interval", 8},
                                {"times", 30},   {"kind", 2},  {"drugA", 1},   {"drugB", 2},
                                {"gap", 7},      {"beds", 30}, {"bed", 3},     {"dose", 2.5},
                                {"volume", 250}, {"gtt", 40},  {"panel", 1}};
  ReportTestTool test_tool(1, inputs, 15);
  static wchar_t result[8192];
  static wchar_t verdict[512];
  for (int kind = -1; kind <= 12; ++kind) {
    long long before = allocation_count();
    run_report(kind, &test_tool.tool, test_tool.values, result, 8192, verdict, 512);
    long long after = allocation_count();
    EXPECT_EQ(before, after) << "kind " << kind;
    EXPECT_GT(text_length(result), 0) << "kind " << kind;
  }
}

TEST(ReportDispatch, CalculationRunHandsTheReportKindToTheReports) {
  const ReportInput inputs[] = {{"drugA", 10}, {"drugB", 4}};
  ReportTestTool test_tool(6, inputs, 2);
  static wchar_t result[4096];
  static wchar_t verdict[512];
  static wchar_t detail[8192];
  int level = -1;
  EXPECT_EQ(2, run_calculation(&test_tool.tool, test_tool.values, result, 4096, verdict, 512,
                               &level, detail, 8192));
  EXPECT_EQ(2, level);
  EXPECT_EQ(std::wstring(L"不宜同瓶，建议分开输注"), verdict);
  EXPECT_EQ(run_test_report(6, {{"drugA", 10}, {"drugB", 4}}).result, std::wstring(result));
  EXPECT_EQ(std::wstring(result), std::wstring(detail));

  // A rota longer than the window's result text: the detail is the cut text.
  const ReportInput rota_inputs[] = {{"nurses", 40}, {"days", 31}};
  ReportTestTool rota(1, rota_inputs, 2);
  run_calculation(&rota.tool, rota.values, result, 4096, verdict, 512, &level, detail, 8192);
  EXPECT_EQ(4095, text_length(result));
  EXPECT_EQ(std::wstring(result), std::wstring(detail));
  EXPECT_EQ(0, level);
}

}  // namespace
