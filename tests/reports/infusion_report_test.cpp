#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_test_support.h"

namespace {

TEST(ReportInfusion, CardWholeText) {
  ReportOutcome out =
      run_test_report(10, {{"bed", 12.8}, {"dose", 2.5}, {"volume", 250}, {"gtt", 40}});
  EXPECT_EQ(std::wstring(L"静脉输液卡"
                         L"\r\n"
                         L"床号：12"
                         L"\r\n"
                         L"药液：医嘱药量 2.50 ，加入溶媒 250 ml"
                         L"\r\n"
                         L"滴速：40 滴/分（约 120 ml/h）"
                         L"\r\n"
                         L"核对：药名/剂量/浓度/有效期/配伍；双人签名。"
                         L"\r\n"
                         L"观察：穿刺点、滴速、输注反应；每 30 分钟巡视并记录。"
                         L"\r\n"),
            out.result);
  EXPECT_EQ(std::wstring(L"输液卡已生成，双人核对后执行"), out.verdict);
  EXPECT_EQ(0, out.level);
}

TEST(ReportInfusion, NumbersRoundToNearestWithTiesToEven) {
  struct Row {
    double bed, dose, volume, gtt;
    std::vector<std::wstring> number_lines;  // lines 2 to 4
  };
  const Row rows[] = {
      {0,
       0.125,
       0.5,
       2.5,
       {L"床号：0", L"药液：医嘱药量 0.12 ，加入溶媒 0 ml", L"滴速：2 滴/分（约 8 ml/h）"}},
      {-3.9,
       2.675,
       1.5,
       0.5,
       {L"床号：-3", L"药液：医嘱药量 2.67 ，加入溶媒 2 ml", L"滴速：0 滴/分（约 2 ml/h）"}},
      {7,
       -0.001,
       -0.4,
       33.5,
       {L"床号：7", L"药液：医嘱药量 -0.00 ，加入溶媒 -0 ml", L"滴速：34 滴/分（约 100 ml/h）"}},
      {-1e12,
       0,
       0,
       0,
       {L"床号：-2147483648", L"药液：医嘱药量 0.00 ，加入溶媒 0 ml",
        L"滴速：0 滴/分（约 0 ml/h）"}},
      {1e12,
       1e20,
       250,
       1.0 / 3,
       {L"床号：2147483647", L"药液：医嘱药量 100000000000000000000.00 ，加入溶媒 250 ml",
        L"滴速：0 滴/分（约 1 ml/h）"}},
  };
  for (const Row& row : rows) {
    ReportOutcome out = run_test_report(
        10, {{"bed", row.bed}, {"dose", row.dose}, {"volume", row.volume}, {"gtt", row.gtt}});
    std::vector<std::wstring> lines = report_lines(out.result);
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(row.number_lines, std::vector<std::wstring>(lines.begin() + 1, lines.begin() + 4))
        << row.dose;
  }
}

TEST(ReportInfusion, AbsentInputsAreZero) {
  ReportOutcome out = run_test_report(10, {});
  std::vector<std::wstring> lines = report_lines(out.result);
  ASSERT_EQ(6u, lines.size());
  EXPECT_EQ(std::wstring(L"床号：0"), lines[1]);
  EXPECT_EQ(std::wstring(L"药液：医嘱药量 0.00 ，加入溶媒 0 ml"), lines[2]);
  EXPECT_EQ(std::wstring(L"滴速：0 滴/分（约 0 ml/h）"), lines[3]);
}

}  // namespace
