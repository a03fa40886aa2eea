// The three ways expression parsers in the wild have crashed, each driven at
// the evaluator: nesting far beyond its depth limit (stack overflow), text
// that ends where an operand or the rest of a token is due (reading past the
// terminator), and malformed "?:" chains. Every formula is evaluated from a
// heap block of exactly its size, so that a read past the terminator is
// reported by AddressSanitizer in the native-asan build.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "engine/formula.h"
#include "engine/tool.h"

namespace {

struct Outcome {
  double value;
  int error;
};

Outcome evaluate_exact(const std::string& text) {
  std::unique_ptr<char[]> copy(new char[text.size() + 1]);
  std::memcpy(copy.get(), text.c_str(), text.size() + 1);
  const ToolDef* tool = get_tool();
  double values[kMaxParameters] = {};
  for (int i = 0; i < tool->parameter_count; ++i) values[i] = tool->parameters[i].default_value;
  const double outputs[kMaxOutputs] = {};
  Outcome o{0, -1};
  o.value = evaluate_formula(tool, copy.get(), values, outputs, &o.error);
  return o;
}

std::string repeat(const std::string& piece, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += piece;
  return s;
}

// Far beyond the limit: a parser without a guard would need this many
// nested calls and overflow the stack.
const int kFarBeyond = kMaxFormulaDepth * 500;

TEST(FormulaRobustness, NestingFarBeyondTheLimitFailsWithoutCrashing) {
  const std::string cases[] = {
      repeat("(", kFarBeyond) + "1" + repeat(")", kFarBeyond),
      repeat("(", kFarBeyond),
      repeat("-", kFarBeyond) + "1",
      repeat("+", kFarBeyond) + "1",
      repeat("!", kFarBeyond) + "1",
      repeat("2^", kFarBeyond) + "1",
      repeat("1?", kFarBeyond) + "1" + repeat(":0", kFarBeyond),
      repeat("0?1:", kFarBeyond) + "2",
      repeat("sqrt(", kFarBeyond) + "4" + repeat(")", kFarBeyond),
      repeat("min(1,", kFarBeyond) + "2" + repeat(")", kFarBeyond),
      repeat("(-", kFarBeyond) + "1",
  };
  for (const std::string& formula : cases) {
    Outcome o = evaluate_exact(formula);
    EXPECT_EQ(1, o.error) << formula.substr(0, 12) << "... (" << formula.size() << " characters)";
  }
}

TEST(FormulaRobustness, NestingWellInsideTheLimitStillEvaluates) {
  const int depth = kMaxFormulaDepth / 4;
  struct Case {
    std::string formula;
    double value;
  } cases[] = {
      {repeat("(", depth) + "1" + repeat(")", depth), 1},
      {repeat("-", depth) + "3", depth % 2 ? -3.0 : 3.0},
      {repeat("0?1:", depth) + "2", 2},
      {repeat("sqrt(", depth / 2) + "1" + repeat(")", depth / 2), 1},
      {repeat("1^", depth) + "7", 1},
  };
  for (const Case& c : cases) {
    Outcome o = evaluate_exact(c.formula);
    EXPECT_EQ(0, o.error) << c.formula;
    EXPECT_EQ(c.value, o.value) << c.formula;
  }
}

// Text that stops right after an operator, inside a number, after a name or
// an opening parenthesis. The values follow from the language: a missing
// operand reads 0, a zero divisor ends the term with 0.
TEST(FormulaRobustness, TextEndingMidTokenIsReadNoFurtherThanItsEnd) {
  struct Case {
    const char* formula;
    int error;
    double value;
  } cases[] = {
      {"1+", 1, 1},     {"1-", 1, 1},     {"1*", 1, 0},     {"1/", 1, 0},    {"1%", 1, 0},
      {"1^", 1, 1},     {"1<", 1, 0},     {"1<=", 1, 0},    {"1>", 1, 1},    {"1==", 1, 0},
      {"1!=", 1, 1},    {"1=", 1, 1},     {"1!", 1, 1},     {"1&", 1, 1},    {"1&&", 1, 0},
      {"1|", 1, 1},     {"1||", 1, 1},    {"1?", 1, 0},     {"1?2:", 1, 2},  {"2**", 1, 2},
      {"-", 1, -0.0},   {"+", 1, 0},      {"!", 1, 1},      {"(", 1, 0},     {"0x", 1, 0},
      {"0X", 1, 0},     {"0x.", 1, 0},    {"0x1p", 1, 1},   {"0x1p-", 1, 1}, {"0x1P+", 1, 1},
      {"1e", 1, 1},     {"1e+", 1, 1},    {"1E-", 1, 1},    {".", 1, 0},     {"5.", 0, 5},
      {"0x10", 0, 16},  {"gcs", 0, 12},   {"gc", 1, 0},     {"sqrt", 1, 0},  {"sqrt(", 1, 0},
      {"sqrt (", 1, 0}, {"min(1,", 1, 0}, {"max(1,", 1, 1}, {"age ", 0, 65}, {" ", 1, 0},
      {"\t\r\n", 1, 0}, {"1 ", 0, 1},     {"\x80", 1, 0},
  };
  for (const auto& c : cases) {
    Outcome o = evaluate_exact(c.formula);
    EXPECT_EQ(c.error, o.error) << '"' << c.formula << '"';
    EXPECT_EQ(c.value, o.value) << '"' << c.formula << '"';
    EXPECT_EQ(std::signbit(c.value), std::signbit(o.value)) << '"' << c.formula << '"';
  }
}

TEST(FormulaRobustness, NamesAtAndPastTheNameBufferEndAtTheText) {
  const std::string name63(63, 'a');
  const std::string name64(64, 'a');
  const std::string long_name(kFarBeyond, 'a');
  for (const std::string& formula : {name63, name64, long_name, long_name + "(1)", name64 + "+1"}) {
    Outcome o = evaluate_exact(formula);
    EXPECT_EQ(1, o.error) << formula.size() << " characters";
  }
}

// Malformed conditionals: missing, doubled or stray "?" and ":". Each fails,
// and the value shows how far the evaluation went on as if the missing
// piece were there.
TEST(FormulaRobustness, MalformedConditionalChainsFail) {
  struct Case {
    const char* formula;
    double value;
  } cases[] = {
      {"?", 0},       {":", 0},       {"?:", 0},      {"1?2", 2},      {"0?2", 0},
      {"1??2:3", 3},  {"1?2::3", 2},  {"1?:3", 0},    {"0?:3", 3},     {"1:2", 1},
      {"1?2:3:4", 2}, {"0?1?2:3", 0}, {"1?2?3?4", 4}, {"1?(2:3)", 2},  {"(1?2):3", 2},
      {"1?2:3?", 2},  {"0?2:0?", 0},  {"gcs>5?1", 1}, {"1?2:?3:4", 2}, {"(1?2:3", 2},
  };
  for (const auto& c : cases) {
    Outcome o = evaluate_exact(c.formula);
    EXPECT_EQ(1, o.error) << c.formula;
    EXPECT_EQ(c.value, o.value) << c.formula;
  }
}

TEST(FormulaRobustness, UnterminatedConditionalChainsFarBeyondTheLimitFail) {
  for (const std::string& formula :
       {repeat("1?", kFarBeyond), repeat("1?2:", kFarBeyond), repeat("?", kFarBeyond),
        repeat(":", kFarBeyond), repeat("1?(", kFarBeyond)}) {
    Outcome o = evaluate_exact(formula);
    EXPECT_EQ(1, o.error) << formula.substr(0, 8) << "... (" << formula.size() << " characters)";
  }
}

}  // namespace
