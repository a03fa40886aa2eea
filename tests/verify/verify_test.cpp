// The verification: the program's tool agrees with the published score in
// every case, and a tool or a table altered in one place disagrees exactly
// in the cases that place decides, which the report names.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "base/utf8.h"
#include "engine/calculation.h"
#include "support/file_bytes.h"
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

  Altered() {
    for (int i = 0; i < tool.parameter_count; ++i) parameters[i] = tool.parameters[i];
    for (int i = 0; i < tool.output_count; ++i) outputs[i] = tool.outputs[i];
    for (int i = 0; i < tool.rule_count; ++i) rules[i] = tool.rules[i];
    for (int i = 0; i < table.item_count; ++i) items[i] = table.items[i];
    for (int i = 0; i < table.score_count; ++i) scores[i] = table.scores[i];
    tool.parameters = parameters, tool.outputs = outputs, tool.rules = rules;
    table.items = items, table.scores = scores;
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
  *code = write_verify_report(tool, table, L"verify_test.txt");
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
  EXPECT_EQ("TOOL|148|ICH 脑出血评分|神经科\r\nCASES|1040\r\nDISAGREE|0\r\n",
            read_whole_file("verify_pass.txt"));
  std::remove("verify_pass.txt");
}

const TypedPoints kNoRows[] = {{L"0", 0}};
const TypedPoints kVolumeAsTypedWithAComma[] = {{L"29,9", 0}};

TEST(Verify, AnAlterationDisagreesInTheCasesItDecidesAndTheReportNamesThem) {
  const std::string age_80 = "CASE|GCS=3|血肿量=0|破入脑室(1/0)=0|幕下出血(1/0)=0|年龄=80\r\n";
  const std::string all_yes = "|破入脑室(1/0)=1|幕下出血(1/0)=1|年龄=80\r\n";
  struct Case {
    const char* what;
    std::function<void(Altered&)> alter;
    int disagreed;
    std::string named;  // a part of the report
  } cases[] = {
      {"age threshold 81", [](Altered& a) { a.replace("age>=80", "age>=81"); }, 208,
       age_80 + "EXPECTED|3|72|高危，神经外科急会诊|3\r\nACTUAL|2|26|低中危，监测意识与瞳孔|1\r\n"},
      {"mortality of score 6 in the table", [](Altered& a) { a.scores[6].mortality = L"99"; }, 8,
       "CASE|GCS=3|血肿量=30" + all_yes + "EXPECTED|6|99|高危，神经外科急会诊|3\r\n" +
           "ACTUAL|6|100|高危，神经外科急会诊|3\r\n"},
      {"level of the high-risk rule", [](Altered& a) { a.rules[0].level = 2; }, 630,
       "ACTUAL|3|72|高危，神经外科急会诊|2\r\n"},
      {"age range ends at 124", [](Altered& a) { a.parameters[4].range.highest = 124; }, 208,
       "年龄=125\r\nEXPECTED|3|72|高危，神经外科急会诊|3\r\nREFUSED|年龄\r\n"},
      {"volume typed with a comma",
       [](Altered& a) {
         a.items[1] = {"volume", kVolumeAsTypedWithAComma, 1};
       },
       260, "REFUSED|血肿量\r\n"},
      {"a third output that fails",
       [](Altered& a) {
         a.outputs[a.tool.output_count++] = {"x", L"附加", L"", "1/0", "f0"};
       },
       1040, "\r\nEXTRA|（部分结果无法计算，请检查输入是否合理） \r\n"},
      {"an item no parameter takes", [](Altered& a) { a.items[0].key = "coma"; }, 1040,
       "REFUSED|coma\r\n"},
      {"an item with no rows",
       [](Altered& a) {
         a.items[2] = {"ivh", kNoRows, 0};
       },
       0, "CASES|0\r\nDISAGREE|0\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Altered altered;
    c.alter(altered);
    int code = -1;
    const std::string report = report_of(&altered.tool, &altered.table, &code);
    EXPECT_EQ(kVerifyDisagreed, code);
    EXPECT_NE(std::string::npos, report.find("DISAGREE|" + std::to_string(c.disagreed) + "\r\n"));
    EXPECT_EQ(c.disagreed < kVerifyListed ? c.disagreed : kVerifyListed, count_of(report, "CASE|"));
    EXPECT_NE(std::string::npos, report.find(c.named)) << report.substr(0, 600);
  }
}

TEST(Verify, AReportThatCannotBeWrittenGivesExitCode3) {
  EXPECT_EQ(kVerifyNotWritten, run_verify(L"no such folder/verify.txt"));
  EXPECT_FALSE(file_exists("no such folder/verify.txt"));
}

}  // namespace
