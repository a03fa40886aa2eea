// The verification: the program's tool agrees with the ICH table in every
// case, and a tool or a table altered in one place disagrees exactly in the
// items and cases that place decides, which the report names.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "base/utf8.h"
#include "engine/calculation.h"
#include "support/file_bytes.h"
#include "verify/portable_screen.h"
#include "verify/verify.h"

namespace {

// A copy of the program's tool and of the ICH table, each part writable.
struct Altered {
  ToolDef tool = *get_tool();
  ParameterDef parameters[kMaxParameters];
  OutputDef outputs[kMaxOutputs];
  VerdictRule rules[kMaxOutputs];
  std::string formulas[2 * kMaxOutputs];
  ExpectedTable table = *ich_expected_table();
  ItemPoints items[kMaxParameters];
  ScoreRow scores[16];
  SingleCase singles[64];

  Altered() {
    for (int i = 0; i < tool.parameter_count; ++i) parameters[i] = tool.parameters[i];
    for (int i = 0; i < tool.output_count; ++i) outputs[i] = tool.outputs[i];
    for (int i = 0; i < tool.rule_count; ++i) rules[i] = tool.rules[i];
    for (int i = 0; i < table.item_count; ++i) items[i] = table.items[i];
    for (int i = 0; i < table.score_count; ++i) scores[i] = table.scores[i];
    for (int i = 0; i < table.single_count; ++i) singles[i] = table.singles[i];
    tool.parameters = parameters, tool.outputs = outputs, tool.rules = rules;
    table.items = items, table.scores = scores, table.singles = singles;
  }
  // Replaces from by to in every output formula and verdict condition.
  void replace(const std::string& from, const std::string& to) {
    for (int i = 0; i < tool.output_count + tool.rule_count; ++i) {
      const char*& text =
          i < tool.output_count ? outputs[i].formula : rules[i - tool.output_count].condition;
      formulas[i] = text;
      for (size_t at; (at = formulas[i].find(from)) != std::string::npos;)
        formulas[i].replace(at, from.size(), to);
      text = formulas[i].c_str();
    }
  }
};

std::string report_of(const ToolDef* tool, const ExpectedTable* table, int* code) {
  std::remove("verify_test.txt");
  PortableScreen state;
  const VerifyScreen screen = portable_screen(tool, &state);
  *code = write_verify_report(tool, table, &screen, L"verify_test.txt");
  std::string report = read_whole_file("verify_test.txt");
  std::remove("verify_test.txt");
  return report;
}

int count_of(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(Verify, TheProgramsToolAgreesInEveryCase) {
  std::remove("verify_pass.txt");
  EXPECT_EQ(kVerifyPassed, run_verify(L"verify_pass.txt"));
  EXPECT_EQ("TOOL|148|ICH 脑出血评分|神经科\r\nCASES|1076\r\nDISAGREE|0\r\n",
            read_whole_file("verify_pass.txt"));
  std::remove("verify_pass.txt");
}

const TypedPoints kVolumeAsTypedWithAComma[] = {{L"29,9", 0}};

TEST(Verify, AnAlterationDisagreesInTheCasesItDecidesAndTheReportNamesThem) {
  const std::string age_80 = "CASE|GCS=3|血肿量=0|破入脑室(1/0)=0|幕下出血(1/0)=0|年龄=80\r\n";
  const std::string low = "|低中危，监测意识与瞳孔|1|#B08400|";
  const std::string high = "|高危，神经外科急会诊|3|#BE1E2D|";
  const std::string default_row = "CASE|GCS=12|血肿量=20|破入脑室(1/0)=0|幕下出血(1/0)=0|";
  const std::string score_1 = "ICH 评分：1 分\\r\\n估计病死率：13 %\\r\\n";
  const std::string no_result = "EXPECTED||填写左侧参数，点击“计算”|0|#008060|";
  struct Case {
    const char* what;
    std::function<void(Altered&)> alter;
    int cases;
    int disagreed;
    std::string named;  // a part of the report
  } cases[] = {
      {"volume threshold moved below 30",
       [](Altered& a) { a.replace("volume>=30", "volume>29.99"); }, 1076, 1,
       "CASE|GCS=15|血肿量=29.999999999999996|破入脑室(1/0)=0|幕下出血(1/0)=0|年龄=0\r\n"
       "EXPECTED|ICH 评分：0 分\\r\\n估计病死率：0 %\\r\\n" +
           low + "\r\nSHOWN|" + score_1 + low + "\r\n"},
      {"age threshold moved below 80", [](Altered& a) { a.replace("age>=80", "age>79.99"); }, 1076,
       1, "年龄=79.99999999999999\r\nEXPECTED|ICH 评分：0 分"},
      {"age threshold 81", [](Altered& a) { a.replace("age>=80", "age>=81"); }, 1076, 211,
       age_80 + "EXPECTED|ICH 评分：3 分\\r\\n估计病死率：72 %\\r\\n" + high +
           "\r\nSHOWN|ICH 评分：2 分\\r\\n估计病死率：26 %\\r\\n" + low + "\r\n"},
      {"mortality in per mille", [](Altered& a) { a.outputs[1].unit = L"‰"; }, 1076, 1060,
       "SHOWN|ICH 评分：2 分\\r\\n估计病死率：26 ‰\\r\\n"},
      {"volume asked in litres", [](Altered& a) { a.parameters[1].unit = L"L"; }, 1076, 1,
       "DISAGREE|1\r\nITEM|血肿量|EXPECTED|ml|SHOWN|L\r\n"},
      {"the label 年龄 on the volume field", [](Altered& a) { a.parameters[1].label = L"年龄"; }, 0,
       2, "ITEM|血肿量|EXPECTED|ml|NOT FOUND\r\nITEM|年龄|EXPECTED|岁|SHOWN|ml\r\n"},
      {"volume range widened to 5000", [](Altered& a) { a.parameters[1].range.highest = 5000; },
       1076, 2,
       "|血肿量=500.00000000000006|破入脑室(1/0)=0|幕下出血(1/0)=0|年龄=65\r\n" + no_result +
           "第 2 项“血肿量”请输入 0 至 500 之间的数值。\r\nSHOWN|ICH 评分：2 分"},
      {"GCS 16 accepted", [](Altered& a) { a.parameters[0].range.highest = 16; }, 1076, 3,
       "CASE|GCS=16|血肿量=20|破入脑室(1/0)=0|幕下出血(1/0)=0|年龄=65\r\n" + no_result +
           "第 1 项“GCS”请输入 3 至 15 之间的整数。\r\nSHOWN|ICH 评分：0 分"},
      {"GCS 12.5 accepted", [](Altered& a) { a.parameters[0].range.whole_only = false; }, 1076, 3,
       "CASE|GCS=12.5|" + std::string("血肿量=20|破入脑室(1/0)=0|幕下出血(1/0)=0|年龄=65\r\n") +
           no_result + "第 1 项“GCS”请输入 3 至 15 之间的整数。\r\nSHOWN|" + score_1},
      {"a refusal message the screen does not show",
       [](Altered& a) { a.singles[a.table.single_count - 4].message = L"第 5 项“年龄”请填写。"; },
       1076, 1,
       default_row + "年龄=\r\n" + no_result + "第 5 项“年龄”请填写。\r\n" +
           "SHOWN||填写左侧参数，点击“计算”|0|#008060|第 5 项“年龄”未填写。\r\n"},
      {"high risk in the low-risk colour in the table",
       [](Altered& a) { a.scores[3].colour = 0xB08400; }, 1076, 338,
       "EXPECTED|ICH 评分：3 分\\r\\n估计病死率：72 %\\r\\n|高危，神经外科急会诊|3|#B08400|"},
      {"mortality of score 6 in the table",
       [](Altered& a) { a.scores[6].result = L"ICH 评分：6 分\r\n估计病死率：99 %\r\n"; }, 1076, 8,
       "CASE|GCS=3|血肿量=30|破入脑室(1/0)=1|幕下出血(1/0)=1|年龄=80\r\n"
       "EXPECTED|ICH 评分：6 分\\r\\n估计病死率：99 %\\r\\n"},
      {"level of the high-risk rule", [](Altered& a) { a.rules[0].level = 2; }, 1076, 630,
       "SHOWN|ICH 评分：3 分\\r\\n估计病死率：72 %\\r\\n|高危，神经外科急会诊|2|#D66C00|\r\n"},
      {"age range ends at 124", [](Altered& a) { a.parameters[4].range.highest = 124; }, 1076, 210,
       "年龄=125\r\nEXPECTED|ICH 评分：3 分\\r\\n估计病死率：72 %\\r\\n" + high +
           "\r\nSHOWN||填写左侧参数，点击“计算”|0|#008060|第 5 项“年龄”请输入 0 至 124 之间的数值。\r\n"},
      {"volume typed with a comma in the grid",
       [](Altered& a) { a.items[1].rows = kVolumeAsTypedWithAComma, a.items[1].row_count = 1; },
       296, 260, "|#008060|第 2 项“血肿量”请用“.”作小数点。\r\n"},
      {"a third output that fails",
       [](Altered& a) {
         a.outputs[a.tool.output_count++] = {"x", L"附加", L"", "1/0", "f0"};
       },
       1076, 1060, "\\r\\n附加：0\\r\\n（部分结果无法计算，请检查输入是否合理）\\r\\n|"},
      {"an item whose label no field shows", [](Altered& a) { a.items[0].label = L"昏迷|\\"; }, 0,
       1, "CASES|0\r\nDISAGREE|1\r\nITEM|昏迷\\|\\\\|EXPECTED|分|NOT FOUND\r\n"},
      {"a score missing from the table", [](Altered& a) { a.table.score_count = 6; }, 1076, 8,
       "|年龄=80\r\nEXPECTED|NO ROW FOR SCORE 6\r\nSHOWN|ICH 评分：6 分"},
      {"a case typed with a field left out", [](Altered& a) { a.singles[0].typed[4] = nullptr; },
       1076, 1, "|年龄=\r\nEXPECTED|ICH 评分：0 分"},
      {"a table with no case",
       [](Altered& a) { a.items[2].row_count = 0, a.table.single_count = 0; }, 0, 0,
       "CASES|0\r\nDISAGREE|0\r\n"},
      {"a table with no item", [](Altered& a) { a.table.item_count = 0; }, 0, 0,
       "CASES|0\r\nDISAGREE|0\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Altered altered;
    c.alter(altered);
    int code = -1;
    const std::string report = report_of(&altered.tool, &altered.table, &code);
    EXPECT_EQ(kVerifyDisagreed, code);
    EXPECT_NE(std::string::npos,
              report.find("\r\nCASES|" + std::to_string(c.cases) + "\r\nDISAGREE|" +
                          std::to_string(c.disagreed) + "\r\n"));
    EXPECT_EQ(c.disagreed < kVerifyListed ? c.disagreed : kVerifyListed,
              count_of(report, "\nCASE|") + count_of(report, "\nITEM|"));
    EXPECT_NE(std::string::npos, report.find(c.named)) << report.substr(0, 900);
  }
}

TEST(Verify, AReportThatCannotBeWrittenGivesExitCode3) {
  EXPECT_EQ(kVerifyNotWritten, run_verify(L"no such folder/verify.txt"));
  EXPECT_FALSE(file_exists("no such folder/verify.txt"));
}

}  // namespace
