#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_test_support.h"

namespace {

TEST(ReportCompatibility, CalciumAndCeftriaxoneWholeText) {
  ReportOutcome out = run_test_report(6, {{"drugA", 2}, {"drugB", 1}});
  EXPECT_EQ(std::wstring(
                L"待查：2 号 葡萄糖酸钙  +  1 号 头孢曲松"
                L"\r\n\r\n"
                L"编号：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索"
                L"\r\n"
                L"      6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 10多巴胺"
                L"\r\n\r\n"
                L"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。"
                L"\r\n"),
            out.result);
  EXPECT_EQ(std::wstring(L"禁忌：不可同瓶输注，需间隔冲管"), out.verdict);
  EXPECT_EQ(3, out.level);
}

TEST(ReportCompatibility, PairsInEitherOrder) {
  struct Row {
    double a;
    double b;
    const wchar_t* conclusion;
    const wchar_t* verdict;
    int level;
  };
  const wchar_t* other_line =
      L"结论：本工具库内未收录该组合的明确禁忌，但仍须查本院配伍表并现配现用、注意冲管。";
  const wchar_t* other_verdict = L"未收录明确禁忌，仍需核对院内配伍表";
  const Row rows[] = {
      {1, 2, L"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。",
       L"禁忌：不可同瓶输注，需间隔冲管", 3},
      {2, 1, L"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。",
       L"禁忌：不可同瓶输注，需间隔冲管", 3},
      {2, 9, L"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。",
       L"禁忌：不可同瓶输注，需间隔冲管", 3},
      {9, 2, L"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。",
       L"禁忌：不可同瓶输注，需间隔冲管", 3},
      {3, 6, L"结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。",
       L"不宜同瓶，分开输注并冲管", 2},
      {6, 3, L"结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。",
       L"不宜同瓶，分开输注并冲管", 2},
      {3, 9, L"结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。",
       L"不宜同瓶，分开输注并冲管", 2},
      {9, 3, L"结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。",
       L"不宜同瓶，分开输注并冲管", 2},
      {4, 10, L"结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。",
       L"不宜同瓶，建议分开输注", 2},
      {10, 4, L"结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。",
       L"不宜同瓶，建议分开输注", 2},
      {5, 9, L"结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。",
       L"不宜同瓶，建议分开输注", 2},
      {9, 5, L"结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。",
       L"不宜同瓶，建议分开输注", 2},
      {6, 7, L"结论：奥美拉唑与维生素C 同瓶 pH 冲突，稳定性下降，建议分开。", L"建议分开输注", 1},
      {7, 6, L"结论：奥美拉唑与维生素C 同瓶 pH 冲突，稳定性下降，建议分开。", L"建议分开输注", 1},
      {6.9, 7.2, L"结论：奥美拉唑与维生素C 同瓶 pH 冲突，稳定性下降，建议分开。", L"建议分开输注",
       1},  // truncated to 6 and 7
      {3, 3, other_line, other_verdict, 0},
      {8, 9, other_line, other_verdict, 0},
      {0, 2, other_line, other_verdict, 0},
      {11, 1, other_line, other_verdict, 0},
      {1, 1, other_line, other_verdict, 0},
      {-1, 2, other_line, other_verdict, 0},
      {12, 2, other_line, other_verdict, 0},
      {1e12, 2, other_line, other_verdict, 0},
      {-1e12, 1, other_line, other_verdict, 0},
      {1e12, 1e12, other_line, other_verdict, 0},
  };
  for (const Row& row : rows) {
    ReportOutcome out = run_test_report(6, {{"drugA", row.a}, {"drugB", row.b}});
    std::vector<std::wstring> lines = report_lines(out.result);
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(std::wstring(row.conclusion), lines[5]) << row.a << " + " << row.b;
    EXPECT_EQ(std::wstring(row.verdict), out.verdict) << row.a << " + " << row.b;
    EXPECT_EQ(row.level, out.level) << row.a << " + " << row.b;
  }
}

TEST(ReportCompatibility, NumbersOutsideTheTablePrintAsUnknown) {
  struct Row {
    bool present;
    double a;
    const wchar_t* first_line;
  };
  const Row rows[] = {
      {true, 12, L"待查：12 号 未知编号  +  3 号 万古霉素"},
      {true, 11, L"待查：11 号 未知编号  +  3 号 万古霉素"},
      {true, 10, L"待查：10 号 多巴胺  +  3 号 万古霉素"},
      {true, 7, L"待查：7 号 维生素C  +  3 号 万古霉素"},
      {true, 1, L"待查：1 号 头孢曲松  +  3 号 万古霉素"},
      {true, 0.9, L"待查：0 号 未知编号  +  3 号 万古霉素"},
      {true, 0, L"待查：0 号 未知编号  +  3 号 万古霉素"},
      {false, 0, L"待查：0 号 未知编号  +  3 号 万古霉素"},
      {true, -1, L"待查：-1 号 未知编号  +  3 号 万古霉素"},
      {true, -4.5, L"待查：-4 号 未知编号  +  3 号 万古霉素"},
      {true, 5e9, L"待查：2147483647 号 未知编号  +  3 号 万古霉素"},
      {true, -5e9, L"待查：-2147483648 号 未知编号  +  3 号 万古霉素"},
  };
  for (const Row& row : rows) {
    ReportInput inputs[] = {{"drugB", 3}, {"drugA", row.a}};
    ReportOutcome out = run_test_report(6, inputs, row.present ? 2 : 1);
    EXPECT_EQ(std::wstring(row.first_line), report_lines(out.result)[0]) << row.a;
  }
  ReportOutcome none = run_test_report(6, {});
  EXPECT_EQ(std::wstring(L"待查：0 号 未知编号  +  0 号 未知编号"), report_lines(none.result)[0]);
  EXPECT_EQ(0, none.level);
}

// Drug 0 beside drug 2 once printed the contraindicated pair (drug 1 and 2)
// above a conclusion that lists no contraindication.
TEST(ReportCompatibility, UnknownNumberBesideCalciumWholeText) {
  ReportOutcome out = run_test_report(6, {{"drugA", 0}, {"drugB", 2}});
  EXPECT_EQ(std::wstring(
                L"待查：0 号 未知编号  +  2 号 葡萄糖酸钙"
                L"\r\n\r\n"
                L"编号：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索"
                L"\r\n"
                L"      6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 10多巴胺"
                L"\r\n\r\n"
                L"结论：本工具库内未收录该组合的明确禁忌，但仍须查本院配伍表并现配现用、注意冲管。"
                L"\r\n"),
            out.result);
  EXPECT_EQ(std::wstring(L"未收录明确禁忌，仍需核对院内配伍表"), out.verdict);
  EXPECT_EQ(0, out.level);
}

}  // namespace
