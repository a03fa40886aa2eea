// The calculation run: the ICH tool's cases, byte for byte, and test tools
// for the run's own rules (no verdict rules, failing outputs, outputs that
// read other outputs, tiny capacities, report kinds other than 0).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "engine/calculation.h"
#include "engine/format.h"
#include "engine/formula.h"
#include "engine/input_message.h"
#include "engine/parameter_input.h"
#include "reports/report.h"
#include "support/alloc_counter.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const wchar_t kHighRisk[] = L"高危，神经外科急会诊";
const wchar_t kLowRisk[] = L"低中危，监测意识与瞳孔";

struct Outcome {
  std::wstring result, verdict, detail;
  int level = -1;
  int returned = -1;
};

Outcome run(const ToolDef* tool, const double* values, int result_capacity = 4096,
            int verdict_capacity = 512, int detail_capacity = 8192) {
  static wchar_t result[8192], verdict[512], detail[8192];
  Outcome r;
  r.returned = run_calculation(tool, values, result, result_capacity, verdict, verdict_capacity,
                               &r.level, detail, detail_capacity);
  r.result = result;
  r.verdict = verdict;
  r.detail = detail;
  return r;
}

std::wstring ich_result_text(int score, int mortality) {
  return L"ICH 评分：" + std::to_wstring(score) + L" 分\r\n估计病死率：" +
         std::to_wstring(mortality) + L" %\r\n";
}

TEST(CalculationIch, DefaultsGiveTheWorkedExample) {
  const ToolDef* tool = get_tool();
  double values[kMaxParameters] = {};
  for (int i = 0; i < tool->parameter_count; ++i) values[i] = tool->parameters[i].default_value;
  Outcome r = run(tool, values);
  EXPECT_EQ(L"ICH 评分：1 分\r\n估计病死率：13 %\r\n", r.result);
  EXPECT_EQ(kLowRisk, r.verdict);
  EXPECT_EQ(1, r.level);
  EXPECT_EQ(1, r.returned);
  EXPECT_EQ(r.result, r.detail);
}

TEST(CalculationIch, InfratentorialItemSitsBetweenIvhAndAge) {
  const ToolDef* tool = get_tool();
  ASSERT_EQ(5, tool->parameter_count);
  const char* keys[] = {"gcs", "volume", "ivh", "infra", "age"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(i, find_parameter(tool, keys[i])) << keys[i];
  EXPECT_EQ(std::wstring(L"幕下出血(1/0)"), tool->parameters[3].label);
  EXPECT_EQ(0.0, tool->parameters[3].default_value);
  EXPECT_EQ(-1, find_parameter(tool, "Infra"));
  EXPECT_EQ(-1, find_parameter(tool, nullptr));
}

TEST(CalculationIch, ScoresMortalityAndLevels) {
  struct Case {
    double gcs, volume, ivh, infra, age;
    int score, mortality, level;
  } cases[] = {
      {4, 35, 1, 0, 85, 5, 100, 3},
      {4, 30, 1, 1, 80, 6, 100, 3},
      {12, 20, 0, 1, 65, 2, 26, 1},
      {13, 29.9, 0, 0, 79, 0, 0, 1},
      {13, 29, 0, 0, 79, 0, 0, 1},
      {12, 30, 1, 0, 65, 3, 72, 3},
      {4, 30, 1, 0, 65, 4, 97, 3},
      {4, 30, 0, 0, 65, 3, 72, 3},
      {12, 20, 0, 0, 80, 2, 26, 1},
      // Thresholds compare with >=: exactly 13, 5, 30 and 80.
      {13, 20, 0, 0, 65, 0, 0, 1},
      {12.99, 20, 0, 0, 65, 1, 13, 1},
      {5, 20, 0, 0, 65, 1, 13, 1},
      {4.99, 20, 0, 0, 65, 2, 26, 1},
      {13, 30, 0, 0, 65, 1, 13, 1},
      {13, 29.99, 0, 0, 65, 0, 0, 1},
      {13, 20, 0, 0, 80, 1, 13, 1},
      {13, 20, 0, 0, 79.99, 0, 0, 1},
      // Any value other than +-0 scores the yes/no items, NaN included.
      {13, 20, 0.5, 0, 65, 1, 13, 1},
      {13, 20, -1, 0, 65, 1, 13, 1},
      {13, 20, 2, 0, 65, 1, 13, 1},
      {13, 20, kNaN, 0, 65, 1, 13, 1},
      {13, 20, -0.0, 0, 65, 0, 0, 1},
      {13, 20, 0, 0.5, 65, 1, 13, 1},
      {13, 20, 0, -1, 65, 1, 13, 1},
      {13, 20, 0, 2, 65, 1, 13, 1},
      {13, 20, 0, kNaN, 65, 1, 13, 1},
      {13, 20, 0, -0.0, 65, 0, 0, 1},
      {3, 40, 1, 1, 90, 6, 100, 3},
      {13, 40, 1, 1, 90, 4, 97, 3},
  };
  for (const Case& c : cases) {
    double values[kMaxParameters] = {c.gcs, c.volume, c.ivh, c.infra, c.age};
    Outcome r = run(get_tool(), values);
    EXPECT_EQ(ich_result_text(c.score, c.mortality), r.result)
        << "gcs " << c.gcs << " volume " << c.volume << " ivh " << c.ivh << " infra " << c.infra
        << " age " << c.age;
    EXPECT_EQ(c.level, r.level) << "score " << c.score;
    EXPECT_EQ(c.level == 3 ? kHighRisk : kLowRisk, r.verdict) << "score " << c.score;
  }
}

// The ICH formulas evaluate without error and agree with the run for every
// combination of the items' points.
TEST(CalculationIch, FormulasNeverFailOnOrdinaryInputs) {
  const ToolDef* tool = get_tool();
  const double outputs[kMaxOutputs] = {};
  for (double gcs : {3.0, 8.0, 15.0})
    for (double volume : {10.0, 30.0})
      for (double ivh : {0.0, 1.0})
        for (double infra : {0.0, 1.0})
          for (double age : {40.0, 80.0}) {
            double values[kMaxParameters] = {gcs, volume, ivh, infra, age};
            for (int i = 0; i < tool->output_count; ++i) {
              int error = -1;
              evaluate_formula(tool, tool->outputs[i].formula, values, outputs, &error);
              EXPECT_EQ(0, error) << tool->outputs[i].key;
            }
            int error = -1;
            evaluate_formula(tool, tool->rules[0].condition, values, outputs, &error);
            EXPECT_EQ(0, error);
          }
}

// A parameter that names no range, like the reports' ones, takes every finite
// number.
TEST(ParameterRange, AnUnsetRangeAcceptsEveryFiniteNumber) {
  const ParameterDef unset = {"p", L"P", nullptr, 0};
  for (double v : {-DBL_MAX, -0.5, 0.0, DBL_MAX}) EXPECT_TRUE(parameter_accepts(&unset, v)) << v;
  for (double v : {HUGE_VAL, -HUGE_VAL, std::nan("")})
    EXPECT_FALSE(parameter_accepts(&unset, v)) << v;
}

// The ICH tool's ranges: each side of every bound (the next whole number
// where only whole numbers count, the next double elsewhere), a fraction
// where a whole number is asked, and the non-finite values.
TEST(ParameterRange, TheIchRangesHoldTheirBoundsAndNothingPast) {
  const double below_0 = std::nextafter(0.0, -1.0);
  struct Case {
    const char* key;
    double value;
    bool accepted;
  } cases[] = {
      {"gcs", 3, true},
      {"gcs", 2, false},
      {"gcs", 15, true},
      {"gcs", 16, false},
      {"gcs", 12.5, false},
      {"volume", 0, true},
      {"volume", below_0, false},
      {"volume", 500, true},
      {"volume", std::nextafter(500.0, 501.0), false},
      {"volume", 20.5, true},
      {"ivh", 0, true},
      {"ivh", -1, false},
      {"ivh", 1, true},
      {"ivh", 2, false},
      {"ivh", 0.5, false},
      {"infra", 0, true},
      {"infra", 1, true},
      {"infra", 2, false},
      {"age", 0, true},
      {"age", below_0, false},
      {"age", 125, true},
      {"age", std::nextafter(125.0, 126.0), false},
      {"age", 64.5, true},
      {"gcs", kNaN, false},
      {"volume", HUGE_VAL, false},
      {"age", -HUGE_VAL, false},
  };
  const ToolDef* tool = get_tool();
  for (const Case& c : cases) {
    int i = find_parameter(tool, c.key);
    ASSERT_GE(i, 0) << c.key;
    EXPECT_EQ(c.accepted, parameter_accepts(&tool->parameters[i], c.value))
        << c.key << " " << c.value;
  }
}

// What is typed for an item: each way of being refused once, and a number
// of its range, which is read whatever the result.
TEST(ParameterInput, ReadsOrRefusesWhatIsTyped) {
  const ParameterDef* gcs = &get_tool()->parameters[find_parameter(get_tool(), "gcs")];
  struct Case {
    const wchar_t* typed;
    ParameterInput expected;
    double value;
  } cases[] = {{L" 12 ", kParameterAccepted, 12},
               {L"", kParameterMissing, 0},
               {L"12a", kParameterUnreadable, 0},
               {L"12,5", kParameterCommaForPoint, 0},
               {L"16", kParameterOutOfRange, 16}};
  for (const Case& c : cases) {
    double value = -1;
    EXPECT_EQ(c.expected, read_parameter_input(gcs, c.typed, &value)) << c.value;
    EXPECT_EQ(c.value, value);
  }
}

// Test tools share these parameters: p = 2, q = 0.
const ParameterDef kParameters[] = {{"p", L"P", nullptr, 2}, {"q", L"Q", nullptr, 0}};
const double kValues[kMaxParameters] = {2, 0};

ToolDef make_tool(const OutputDef* outputs, int output_count, const VerdictRule* rules,
                  int rule_count, int report_kind = 0) {
  return ToolDef{900,         L"测试工具",  nullptr, L"测试",    L"依据", nullptr,     2,
                 kParameters, output_count, outputs, rule_count, rules,   report_kind, run_report};
}

TEST(CalculationRun, NoVerdictRulesGiveTheDefaultVerdictAndLevel0) {
  const OutputDef outputs[] = {{"a", L"甲", L"分", "p+1", "f0"}};
  ToolDef tool = make_tool(outputs, 1, nullptr, 0);
  Outcome r = run(&tool, kValues);
  EXPECT_EQ(L"甲：3 分\r\n", r.result);
  EXPECT_EQ(L"请核对输入参数后重新计算", r.verdict);
  EXPECT_EQ(0, r.level);
  EXPECT_EQ(0, r.returned);
}

TEST(CalculationRun, FailingOutputsPrintTheirValueAndWarnOnce) {
  const OutputDef outputs[] = {
      {"a", L"甲", L"分", "1/0", "f0"},       // error, value 0
      {"b", L"乙", nullptr, "log(0)", "f1"},  // error, value 0, no unit
      {"c", L"丙", L"", "p*3", "f0"},         // fine, empty unit
      {"d", L"丁", L"ml", "1e999", "f2"},     // error, infinite: "--"
      {"e", L"戊", L"%", "2+1/0", nullptr},   // error, value 2
  };
  ToolDef tool = make_tool(outputs, 5, nullptr, 0);
  Outcome r = run(&tool, kValues);
  EXPECT_EQ(
      L"甲：0 分\r\n乙：0.0\r\n丙：6\r\n丁：-- ml\r\n戊：2.00 %\r\n"
      L"（部分结果无法计算，请检查输入是否合理）\r\n",
      r.result);
  EXPECT_EQ(r.result, r.detail);
}

TEST(CalculationRun, NoWarningWhenEveryOutputSucceeds) {
  const OutputDef outputs[] = {{"a", L"甲", nullptr, "p", "f0"}, {"b", L"乙", nullptr, "q", "f0"}};
  ToolDef tool = make_tool(outputs, 2, nullptr, 0);
  EXPECT_EQ(L"甲：2\r\n乙：0\r\n", run(&tool, kValues).result);
}

// A formula sees the outputs before its own with their values; its own slot
// and later ones read 0 without failing. Verdict rules see every output.
TEST(CalculationRun, OutputsReadEarlierOutputsOnly) {
  const OutputDef outputs[] = {
      {"a", L"甲", nullptr, "b+1", "f0"},   // b is later: reads 0
      {"b", L"乙", nullptr, "a*10", "f0"},  // a is earlier: 10
      {"c", L"丙", nullptr, "c+5", "f0"},   // its own slot: 0
      {"f", L"己", nullptr, "1/0", "f0"},   // fails with 0
      {"g", L"庚", nullptr, "f+a", "f0"},   // a failed output reads its returned value
      {"p", L"辛", nullptr, "40", "f0"},    // hidden by the parameter p
      {"h", L"壬", nullptr, "p", "f0"},
  };
  const VerdictRule rules[] = {{"b==10&&c==5&&h==2", 2, L"都看得到"}};
  ToolDef tool = make_tool(outputs, 7, rules, 1);
  Outcome r = run(&tool, kValues);
  EXPECT_EQ(
      L"甲：1\r\n乙：10\r\n丙：5\r\n己：0\r\n庚：1\r\n辛：40\r\n壬：2\r\n"
      L"（部分结果无法计算，请检查输入是否合理）\r\n",
      r.result);
  EXPECT_EQ(L"都看得到", r.verdict);
  EXPECT_EQ(2, r.level);
}

TEST(CalculationRun, VerdictRulesInOrder) {
  const OutputDef outputs[] = {{"a", L"甲", nullptr, "p", "f0"}};
  struct Case {
    VerdictRule rules[3];
    int count;
    const wchar_t* verdict;
    int level;
  } cases[] = {
      // A failing condition never wins, whatever its value.
      {{{"1+1/0", 3, L"坏"}, {"2 3", 3, L"坏"}, {"a>1", 2, L"中"}}, 3, L"中", 2},
      {{{"nan_key", 3, L"坏"}, {"0", 3, L"否"}, {"", 1, L"空条件"}}, 3, L"空条件", 1},
      {{{"a>5", 3, L"高"}, {"q", 2, L"否"}}, 2, L"请核对输入参数后重新计算", 0},
      {{{"a==2", 3, L"先"}, {"", 1, L"后"}}, 2, L"先", 3},
      // An empty verdict text gets the default; the rule's level stays.
      {{{"a", 2, L""}}, 1, L"请核对输入参数后重新计算", 2},
      {{{"", 3, nullptr}}, 1, L"请核对输入参数后重新计算", 3},
      {{{nullptr, 1, L"无条件"}}, 1, L"无条件", 1},
  };
  for (const Case& c : cases) {
    ToolDef tool = make_tool(outputs, 1, c.rules, c.count);
    Outcome r = run(&tool, kValues);
    EXPECT_EQ(std::wstring(c.verdict), r.verdict);
    EXPECT_EQ(c.level, r.level);
    EXPECT_EQ(c.level, r.returned);
  }
}

// The result text keeps the first capacity - 1 characters; nothing past the
// capacity is touched.
TEST(CalculationRun, TinyCapacitiesCutTheResultText) {
  const OutputDef outputs[] = {{"a", L"甲", L"分", "p+1", "f0"},
                               {"b", L"乙", nullptr, "1/0", "f0"}};
  ToolDef tool = make_tool(outputs, 2, nullptr, 0);
  const std::wstring whole = L"甲：3 分\r\n乙：0\r\n（部分结果无法计算，请检查输入是否合理）\r\n";
  for (int capacity :
       {1, 2, 5, 7, 8, 13, static_cast<int>(whole.size()), static_cast<int>(whole.size()) + 1}) {
    wchar_t result[64], verdict[32], detail[64];
    for (wchar_t& ch : result) ch = L'#';
    for (wchar_t& ch : detail) ch = L'#';
    int level = -1;
    run_calculation(&tool, kValues, result, capacity, verdict, 32, &level, detail, capacity);
    size_t kept = static_cast<size_t>(capacity - 1) < whole.size()
                      ? static_cast<size_t>(capacity - 1)
                      : whole.size();
    EXPECT_EQ(whole.substr(0, kept), std::wstring(result)) << "capacity " << capacity;
    EXPECT_EQ(whole.substr(0, kept), std::wstring(detail)) << "capacity " << capacity;
    for (int i = capacity; i < 64; ++i) {
      ASSERT_EQ(L'#', result[i]) << "capacity " << capacity;
      ASSERT_EQ(L'#', detail[i]) << "capacity " << capacity;
    }
    EXPECT_EQ(std::wstring(L"请核对输入参数后重新计算"), verdict);
  }
}

TEST(CalculationRun, DetailIsCutToItsOwnCapacity) {
  const OutputDef outputs[] = {{"a", L"甲", L"分", "p+1", "f0"}};
  ToolDef tool = make_tool(outputs, 1, nullptr, 0);
  Outcome r = run(&tool, kValues, 4096, 512, 4);
  EXPECT_EQ(L"甲：3 分\r\n", r.result);
  EXPECT_EQ(L"甲：3", r.detail);
}

TEST(CalculationRun, VerdictIsCutToItsCapacity) {
  const OutputDef outputs[] = {{"a", L"甲", nullptr, "p", "f0"}};
  const VerdictRule rules[] = {{"", 1, L"一二三四五六七八九十一二三四五六七八九十一二三四五"}};
  ToolDef tool = make_tool(outputs, 1, rules, 1);
  Outcome r = run(&tool, kValues, 4096, 21);
  EXPECT_EQ(L"一二三四五六七八九十一二三四五六七八九十", r.verdict);
}

// For a report kind other than 0 the report produces the whole result: the
// output formulas (here failing ones) and the verdict rules are not used.
TEST(CalculationRun, ReportKindReplacesOutputsAndRules) {
  const OutputDef outputs[] = {{"a", L"甲", L"分", "1/0", "f0"}};
  const VerdictRule rules[] = {{"", 3, L"不该出现"}};
  for (int kind : {1, 5, 11, 12, -1}) {
    ToolDef tool = make_tool(outputs, 1, rules, 1, kind);
    static wchar_t expected_result[4096], expected_verdict[512];
    int expected_level =
        run_report(kind, &tool, kValues, expected_result, 4096, expected_verdict, 512);
    Outcome r = run(&tool, kValues);
    EXPECT_EQ(std::wstring(expected_result), r.result) << "kind " << kind;
    EXPECT_EQ(std::wstring(expected_verdict), r.verdict) << "kind " << kind;
    EXPECT_EQ(expected_level, r.level) << "kind " << kind;
    EXPECT_EQ(expected_level, r.returned) << "kind " << kind;
    EXPECT_EQ(r.result, r.detail) << "kind " << kind;
    EXPECT_EQ(std::wstring::npos, r.result.find(L"甲：")) << "kind " << kind;
    EXPECT_EQ(std::wstring::npos, r.result.find(L"部分结果无法计算")) << "kind " << kind;
  }
  // A tool without a report dispatch of its own gets the no-report texts.
  ToolDef tool = make_tool(outputs, 1, rules, 1, 5);
  tool.report = nullptr;
  Outcome r = run(&tool, kValues);
  EXPECT_EQ(std::wstring(kNoReportText), r.result);
  EXPECT_EQ(std::wstring(kNoReportVerdict), r.verdict);
  EXPECT_EQ(0, r.returned);
}

// The engine allocates nothing on the heap during a calculation.
TEST(CalculationRun, AllocatesNothing) {
  const ToolDef* tool = get_tool();
  static wchar_t result[4096], verdict[512], detail[8192], value_text[128];
  const double cases[][kMaxParameters] = {
      {12, 20, 0, 0, 65}, {4, 35, 1, 1, 85}, {kNaN, 1e300, -1, 2, 0}};
  const double outputs[kMaxOutputs] = {};
  long long before = allocation_count();
  for (const double* values : cases) {
    int level = 0;
    run_calculation(tool, values, result, 4096, verdict, 512, &level, detail, 8192);
    for (int i = 0; i < tool->output_count; ++i) {
      int error = 0;
      double v = evaluate_formula(tool, tool->outputs[i].formula, values, outputs, &error);
      format_value(tool->outputs[i].format, v, value_text, 128);
    }
  }
  for (const char* name : {"f0", "f1", "f2", "f3", "int", "pct", "date"})
    format_value(name, 1234.5678, value_text, 128);
  format_value("f2", 5e74, value_text, 128);
  format_value("f2", 1e300, value_text, 128);
  long long after = allocation_count();
  EXPECT_EQ(before, after);
}

// The message of a refusal: each way of being refused once, and each kind
// of range (yes/no, whole numbers, any number, bounds with decimals, none).
TEST(InputMessage, NamesTheItemAndWhatItAccepts) {
  const ToolDef* tool = get_tool();
  const ParameterDef whole_0_to_2 = {"n", L"次数", L"", 0, {true, 0, 2, true}};
  const ParameterDef decimals = {"d", L"剂量", L"mg", 0, {true, 0.25, 1e-3, false}};
  const ParameterDef unbounded = {"u", L"其他", L"", 0};
  struct Case {
    const ParameterDef* parameter;
    int number;
    ParameterInput verdict;
    const wchar_t* message;
  } cases[] = {
      {&tool->parameters[4], 5, kParameterMissing, L"第 5 项“年龄”未填写。"},
      {&tool->parameters[1], 2, kParameterCommaForPoint, L"第 2 项“血肿量”请用“.”作小数点。"},
      {&tool->parameters[0], 1, kParameterUnreadable, L"第 1 项“GCS”请输入数字。"},
      {&tool->parameters[0], 1, kParameterOutOfRange, L"第 1 项“GCS”请输入 3 至 15 之间的整数。"},
      {&tool->parameters[1], 2, kParameterOutOfRange,
       L"第 2 项“血肿量”请输入 0 至 500 之间的数值。"},
      {&tool->parameters[3], 4, kParameterOutOfRange, L"第 4 项“幕下出血(1/0)”请输入 1 或 0。"},
      {&whole_0_to_2, 7, kParameterOutOfRange, L"第 7 项“次数”请输入 0 至 2 之间的整数。"},
      {&decimals, 16, kParameterOutOfRange, L"第 16 项“剂量”请输入 0.25 至 0.001 之间的数值。"},
      {&unbounded, 1, kParameterOutOfRange, L"第 1 项“其他”请输入数字。"},
  };
  for (const Case& c : cases) {
    wchar_t message[kInputMessageCapacity];
    format_input_message(c.parameter, c.number, c.verdict, message, kInputMessageCapacity);
    EXPECT_STREQ(c.message, message);
  }
}

}  // namespace
