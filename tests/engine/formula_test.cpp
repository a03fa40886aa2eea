// The formula language: tables of (formula, expected value, expected error
// flag). Expected values are often C++ expressions the compiler or the
// standard library computes, so the table states the meaning, not the digits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/formula.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// A 63-character key: the longest name a formula can reach.
#define KEY63 "k23456789012345678901234567890123456789012345678901234567890123"
static_assert(sizeof KEY63 == 64, "KEY63 has 63 characters");

// Parameters x=2, y=3, zero=0, nan=NaN, exp=10 (a variable named like a
// function), shadow=5 (hides the output of the same key) and KEY63=7.
const ParameterDef kParameters[] = {
    {"x", L"x", nullptr, 2},      {"y", L"y", nullptr, 3},    {"zero", L"z", nullptr, 0},
    {"nan", L"n", nullptr, kNaN}, {"exp", L"e", nullptr, 10}, {"shadow", L"s", nullptr, 5},
    {KEY63, L"k", nullptr, 7},
};
const OutputDef kOutputs[] = {
    {"shadow", L"s", nullptr, "0", "f0"},
    {"o1", L"o1", nullptr, "0", "f0"},
    {"o2", L"o2", nullptr, "0", "f0"},
};
const ToolDef kTool = {1,           L"t", nullptr,  L"c", L"r",    nullptr, 7,
                       kParameters, 3,    kOutputs, 0,    nullptr, 0};

double parameter_values[kMaxParameters];
const double kOutputValues[kMaxOutputs] = {99, 11, 22};

double evaluate(const char* formula, int* error) {
  for (int i = 0; i < kTool.parameter_count; ++i)
    parameter_values[i] = kParameters[i].default_value;
  *error = -1;  // the evaluator must write the flag on every call
  return evaluate_formula(&kTool, formula, parameter_values, kOutputValues, error);
}

// Equal as values, the sign of zero included; NaN equals NaN.
bool same_value(double expected, double actual) {
  if (std::isnan(expected)) return std::isnan(actual);
  return expected == actual && std::signbit(expected) == std::signbit(actual);
}

struct Case {
  const char* formula;
  double value;
  int error;
};

void check_table(const Case* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    int error = 0;
    double value = evaluate(cases[i].formula, &error);
    EXPECT_TRUE(same_value(cases[i].value, value))
        << "formula \"" << cases[i].formula << "\": expected " << cases[i].value << ", got "
        << value;
    EXPECT_EQ(cases[i].error, error) << "formula \"" << cases[i].formula << "\"";
  }
}

#define CHECK_TABLE(table) check_table(table, sizeof table / sizeof table[0])

TEST(Formula, PrecedenceAndAssociativity) {
  const Case cases[] = {
      {"1+2*3", 7, 0},
      {"(1+2)*3", 9, 0},
      {"10-4-3", 3, 0},
      {"100/10/5", 2, 0},
      {"2^3^2", 512, 0},
      {"(2^3)^2", 64, 0},
      {"-2^2", 4, 0},
      {"2^-2", 0.25, 0},
      {"2*3^2", 18, 0},
      {"--5", 5, 0},
      {"!!3", 1, 0},
      {"!0", 1, 0},
      {"!5", 0, 0},
      {"-!0", -1, 0},
      {"+-+3", -3, 0},
      {"+++3", 3, 0},
      {"2*3%4", 2, 0},
      {"1+2*3-4/2", 5, 0},
      // Left to right as written: 0.1+(0.2*1-0.3) rounds to another double.
      {"0.1+0.2*1-0.3", 0.1 + 0.2 * 1 - 0.3, 0},
      {"1+2<4", 1, 0},
      {"4<1+2", 0, 0},
      {"1||0&&0", 1, 0},
      {"(1||0)&&0", 0, 0},
      {"0&&1||1", 1, 0},
      {"0||1?5:6", 5, 0},
      {"1+1?10:20", 10, 0},
      {"0?1:2+3", 5, 0},
      {"1?2:3?4:5", 2, 0},
      {"0?2:0?4:5", 5, 0},
      {"0?2:1?4:5", 4, 0},
      {"(0?2:1)?4:5", 4, 0},
      // A branch between "?" and ":" that is more than a lone operand.
      {"1?2+3:4", 5, 0},
      {"1?2^3:4", 8, 0},
      {"1?2?3:4:5", 3, 0},
      {"0?2?3:4:5", 5, 0},
      {"1?0||2:4", 1, 0},
      {"1<2<3", 1, 1},
      {"(1<2)<3", 1, 0},
      {"1==1==1", 1, 1},
      {"2*(3+4)^2", 98, 0},
      {"-(2+3)", -5, 0},
      {"6/4", 1.5, 0},
      {"1/3", 1.0 / 3.0, 0},
      {"0.1+0.2", 0.1 + 0.2, 0},
      {"2^0.5", std::pow(2.0, 0.5), 0},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, ComparisonAndLogicalOperators) {
  const Case cases[] = {
      {"3<=3", 1, 0},  {"4<=3", 0, 0},  {"3>=3", 1, 0}, {"3>=4", 0, 0},    {"3==3", 1, 0},
      {"3==4", 0, 0},  {"3!=3", 0, 0},  {"3!=4", 1, 0}, {"2<3", 1, 0},     {"3<3", 0, 0},
      {"3>2", 1, 0},   {"3>3", 0, 0},   {"2&&3", 1, 0}, {"2&&0", 0, 0},    {"0||0", 0, 0},
      {"0||-2", 1, 0}, {"-0||0", 0, 0}, {"!-0", 1, 0},  {"-0?1:2", 2, 0},  {"0.1+0.2==0.3", 0, 0},
      {"7%3", 1, 0},   {"-7%3", -1, 0}, {"7%-3", 1, 0}, {"7.5%2", 1.5, 0}, {"-0", -0.0, 0},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, NaNIsTrueAndComparesUnequal) {
  const Case cases[] = {
      {"nan?1:2", 1, 0},  {"!nan", 0, 0},     {"nan&&1", 1, 0},   {"nan||0", 1, 0},
      {"nan==nan", 0, 0}, {"nan!=nan", 1, 0}, {"nan<1", 0, 0},    {"nan>=nan", 0, 0},
      {"nan<=1", 0, 0},   {"nan>1", 0, 0},    {"nan!=1", 1, 0},   {"(nan)?x:y", 2, 0},
      {"nan", kNaN, 1},   {"-nan", kNaN, 1},  {"nan*0", kNaN, 1}, {"zero?nan:1", 1, 0},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, NothingIsShortCircuited) {
  // An error in the part that is not chosen still fails the formula.
  const Case cases[] = {
      {"0&&1/0", 0, 1},
      {"1||1/0", 1, 1},
      {"0?1/0:2", 2, 1},
      {"1?2:log(0)", 2, 1},
      {"zero>0?log(zero):0", 0, 1},
      {"1?2:foo", 2, 1},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, ZeroDivisorEndsTheTerm) {
  const Case cases[] = {
      {"2+1/0", 2, 1},    {"1/0*5+2", 0, 1}, {"7%0+3", 3, 1},       {"6/(1-1)", 0, 1},
      {"8/-0", 0, 1},     {"0/0", 0, 1},     {"1/0+1/0", 0, 1},     {"2*3/0*4+1", 0, 1},
      {"5-2/zero", 5, 1}, {"1/0.0", 0, 1},   {"1/1e-320", kInf, 1},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, DoubledAsteriskIsNoOperator) {
  const Case cases[] = {
      {"3**2", 3, 1},
      {"2*3**2", 6, 1},
      {"3* *2", 0, 1},  // the second "*" is no operand; the product goes on with 0
      {"3*2", 6, 0},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, OneArgumentFunctions) {
  const double third = 1.0 / 3.0;
  const Case cases[] = {
      {"sqrt(4)", 2, 0},
      {"sqrt(2)", std::sqrt(2.0), 0},
      {"sqrt(-1)", 0, 1},
      {"sqrt(-0)", -0.0, 0},
      {"sqrt(nan)", kNaN, 1},
      {"sqrt(-1)+5", 5, 1},
      {"abs(-3)", 3, 0},
      {"abs(-0)", 0.0, 0},
      {"abs(2.5)", 2.5, 0},
      {"log(1)", 0, 0},
      {"log(x)", std::log(2.0), 0},
      {"log(0)", 0, 1},
      {"log(-1)", 0, 1},
      {"log(-0)", 0, 1},
      {"log(nan)", kNaN, 1},
      {"log10(1000)", std::log10(1000.0), 0},
      {"log10(0)", 0, 1},
      {"log10(-5)", 0, 1},
      {"exp(0)", 1, 0},
      {"exp(1)", std::exp(1.0), 0},
      {"exp(1000)", kInf, 1},
      {"exp(1000)>1", 1, 0},
      {"floor(-2.5)", -3, 0},
      {"floor(2.9)", 2, 0},
      {"ceil(-2.5)", -2, 0},
      {"ceil(2.1)", 3, 0},
      {"round(2.5)", 3, 0},
      {"round(-2.5)", -2, 0},
      {"round(-0.5)", 0.0, 0},
      {"round(1.4)", 1, 0},
      {"round(0.49999999999999994)", 1, 0},
      {"cbrt(27)", std::pow(27.0, third), 0},
      {"cbrt(-8)", -std::pow(8.0, third), 0},
      {"cbrt(0)", 0, 0},
      {"sign(5)", 1, 0},
      {"sign(-5)", -1, 0},
      {"sign(0)", 0, 0},
      {"sign(-0)", 0, 0},
      {"sign(nan)", 0, 0},
      {"foo(1)", 0, 1},
      {"min(2)", 0, 1},
      {"Sqrt(4)", 0, 1},
      {"sqrt (4)", 2, 0},
      {"sqrt( 4 )", 2, 0},
      {"sqrt(4", 2, 1},
      {"sqrt(sqrt(16))", 2, 0},
      {"exp", 10, 0},
      {"exp(0)+exp", 11, 0},
      {"exp (0)", 1, 0},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, TwoArgumentFunctions) {
  const Case cases[] = {
      {"min(1,2)", 1, 0},          {"min(2,1)", 1, 0},       {"min(nan,5)", 5, 0},
      {"min(5,nan)", kNaN, 1},     {"max(1,2)", 2, 0},       {"max(2,1)", 2, 0},
      {"max(nan,5)", 5, 0},        {"max(5,nan)", kNaN, 1},  {"pow(2,10)", 1024, 0},
      {"pow(5,0)", 1, 0},          {"pow(-8,1/3)", kNaN, 1}, {"pow(-8,1/3)>0", 0, 0},
      {"pow(-8,1/3)!=0", 1, 0},    {"pow(0,-1)", kInf, 1},   {"0^-1", kInf, 1},
      {"mod(-7,3)", -1, 0},        {"mod(7,-3)", 1, 0},      {"mod(7.5,2)", 1.5, 0},
      {"mod(7,0)", 0, 1},          {"mod(7,-0)", 0, 1},      {"mod(7,0)+1", 1, 1},
      {"mod(7,nan)", kNaN, 1},     {"sqrt(4,9)", 0, 1},      {"foo(1,2)", 0, 1},
      {"min(1,2,3)", 1, 1},        {"min(1,2", 1, 1},        {"max( 1 , 2 )", 2, 0},
      {"min(x,y)+max(x,y)", 5, 0},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, Variables) {
  const Case cases[] = {
      {"x", 2, 0},
      {"x+y", 5, 0},
      {"shadow", 5, 0},  // the parameter hides the output
      {"o1", 11, 0},
      {"o2+o1", 33, 0},
      {"foo+1", 1, 1},
      {"X", 0, 1},
      {"x y", 2, 1},
      {"_", 0, 1},
      {KEY63, 7, 0},
      {KEY63 "+1", 8, 0},
      // 64 characters whose first 63 equal a key: the 63 are read, the rest is left over.
      {KEY63 "4", 7, 1},
      {KEY63 "4+1", 7, 1},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, WhitespaceAndLeftOverText) {
  const Case cases[] = {
      {" 1 + 2 ", 3, 0}, {"\t1\n+\r2\r\n", 3, 0},
      {"1\v+2", 1, 1},   {"\f1", 0, 1},
      {"1+2\f", 3, 1},   {"   ", 0, 1},
      {"", 0, 1},        {"1 2", 1, 1},
      {"1=1", 1, 1},     {"1|2", 1, 1},
      {"1&2", 1, 1},     {"1 > = 1", 1, 1},
      {"1 >= 1", 1, 0},  {"1 = = 1", 1, 1},
      {"2x", 2, 1},      {"2(3)", 2, 1},
      {"1+\xe4", 1, 1},  {"#", 0, 1},
      {"1+#", 1, 1},     {")", 0, 1},
      {"(1", 1, 1},      {"(1))", 1, 1},
      {"1,2", 1, 1},     {"1:2", 1, 1},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, Numbers) {
  const Case cases[] = {
      {".5+.5", 1, 0},    {"5.", 5, 0},     {".", 0, 1},        {".+1", 0, 1},
      {"1e3", 1000, 0},   {"1E3", 1000, 0}, {"2E2+1", 201, 0},  {"2.5E-2", 0.025, 0},
      {"1.e2", 100, 0},   {"007", 7, 0},    {"1e", 1, 1},       {"1e+", 1, 1},
      {"1.5.5", 1.5, 1},  {"0x10", 16, 0},  {"0X1F", 31, 0},    {"0x1.8p3", 12, 0},
      {"0x", 0, 1},       {"0xg", 0, 1},    {"1e999", kInf, 1}, {"1e999>5", 1, 0},
      {"-1e999<0", 1, 0}, {"1e-999", 0, 0}, {"4e-320>0", 1, 0}, {"1e999-1e999", kNaN, 1},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, MissingClosersAndThirdArguments) {
  const Case cases[] = {
      {"1?2", 2, 1},  {"0?2", 0, 1},      {"1?2:", 2, 1},   {"1?:3", 0, 1},
      {"(1+2", 3, 1}, {"((1+2)*3", 9, 1}, {"abs(-1", 1, 1}, {"max(1,2,3)", 2, 1},
  };
  CHECK_TABLE(cases);
}

TEST(Formula, NullFormulaFailsWithZero) {
  int error = -1;
  EXPECT_EQ(0.0, evaluate(nullptr, &error));
  EXPECT_EQ(1, error);
}

TEST(Formula, FailingInputs) {
  const char* const failing[] = {
      "",       " ",        "\t\r\n", "+",         "-",       "!",        "*1",       "1*",
      "1+",     "1^",       "(",      ")(",        "()",      "1?",       "?1:2",     "1 ?",
      "a",      "x(",       "sqrt()", "sqrt(,1)",  "min(1,)", "1..2",     "..",       "1 1",
      "1 + + ", "1<",       "<1",     "1<=<2",     "1&&",     "||1",      "1!",       "1!=",
      "1=",     "x=1",      "=",      "1;2",       "'1'",     "\"1\"",    "[1]",      "{1}",
      "1$",     "@",        "1/0",    "1%0",       "log(0)",  "sqrt(-2)", "mod(1,0)", "pow(-1,0.5)",
      "0^-2",   "exp(710)", "1e309",  "x>0?1/0:1", "nan",     "\x80",     "\xff",     "1\v",
  };
  for (const char* formula : failing) {
    int error = 0;
    evaluate(formula, &error);
    EXPECT_EQ(1, error) << "formula \"" << formula << "\"";
  }
}

// Nesting far beyond the depth guard fails with the error flag and a defined
// value instead of exhausting the stack; nesting within it works.
std::string repeat(const char* piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(FormulaNesting, FarBeyondTheLimitFails) {
  const int n = 100000;
  const std::string deep[] = {
      repeat("(", n) + "1" + repeat(")", n),
      repeat("-", n) + "1",
      repeat("!", n) + "0",
      repeat("+", n) + "1",
      repeat("1^", n) + "1",
      repeat("1?", n) + "1",
      repeat("0?1:", n) + "1",
      repeat("abs(", n) + "1" + repeat(")", n),
      repeat("min(1,", n) + "1" + repeat(")", n),
      repeat("(-", n) + "1" + repeat(")", n),
      repeat("(", n),
  };
  for (const std::string& formula : deep) {
    int error = 0;
    evaluate(formula.c_str(), &error);
    EXPECT_EQ(1, error) << formula.substr(0, 12) << "...";
  }
  // The value of a failed evaluation is defined: the operand past the limit
  // reads 0, and the rest of the text is left over.
  int error = 0;
  EXPECT_EQ(0.0, evaluate(deep[0].c_str(), &error));
  EXPECT_EQ(1.0, evaluate(deep[4].c_str(), &error));
}

// Exactly at the limit and one step past it, for every construct that
// nests: the top conditional and each operand hold a level, each prefix
// operator, "^" and conditional branch one more, each parenthesis or call
// two. A guard that allows one level too many, or one too few, fails here.
TEST(FormulaNesting, AtTheLimit) {
  const int most = kMaxFormulaDepth - 2;  // prefix operators, powers, branches
  const int most_parens = most / 2;
  struct AtLimit {
    std::string formula;
    double value;
    int error;
  } cases[] = {
      {repeat("-", most) + "1", 1, 0},
      {repeat("-", most + 1) + "1", -0.0,
       1},  // the operand past the limit reads 0; "1" is left over
      {repeat("!", most) + "0", 0, 0},
      {repeat("!", most + 1) + "0", 1, 1},
      {repeat("+", most) + "1", 1, 0},
      {repeat("+", most + 1) + "1", 0, 1},
      {repeat("1^", most) + "2", 1, 0},
      {repeat("1^", most + 1) + "2", 1, 1},
      {repeat("1?", most) + "7" + repeat(":0", most), 7, 0},
      {repeat("1?", most + 1) + "7" + repeat(":0", most + 1), 0, 1},
      {repeat("0?0:", most) + "7", 7, 0},
      {repeat("0?0:", most + 1) + "7", 0, 1},
      {repeat("(", most_parens) + "1" + repeat(")", most_parens), 1, 0},
      {repeat("(", most_parens + 1) + "1" + repeat(")", most_parens + 1), 0, 1},
      {repeat("abs(", most_parens) + "1" + repeat(")", most_parens), 1, 0},
      {repeat("abs(", most_parens + 1) + "1" + repeat(")", most_parens + 1), 0, 1},
  };
  for (const AtLimit& c : cases) {
    int error = -1;
    double value = evaluate(c.formula.c_str(), &error);
    EXPECT_EQ(c.error, error) << c.formula.substr(0, 12) << "... (" << c.formula.size()
                              << " characters)";
    EXPECT_TRUE(same_value(c.value, value)) << c.formula.substr(0, 12) << "...: got " << value;
  }
}

TEST(FormulaNesting, WithinTheLimitWorks) {
  // Each parenthesis costs two levels (its conditional and its operand).
  const int parens = kMaxFormulaDepth / 2 - 10;
  const int prefixes = kMaxFormulaDepth - 10;
  struct Nested {
    std::string formula;
    double value;
  } cases[] = {
      {repeat("(", parens) + "1+1" + repeat(")", parens), 2},
      {repeat("-", prefixes) + "3", prefixes % 2 ? -3.0 : 3.0},
      {repeat("!", prefixes) + "0", prefixes % 2 ? 1.0 : 0.0},
      {repeat("1^", prefixes) + "2", 1},
      {repeat("1?", prefixes) + "7" + repeat(":0", prefixes), 7},
      {repeat("0?0:", prefixes) + "7", 7},
      {repeat("abs(", parens) + "-4" + repeat(")", parens), 4},
  };
  for (const Nested& c : cases) {
    int error = -1;
    double value = evaluate(c.formula.c_str(), &error);
    EXPECT_EQ(0, error) << c.formula.substr(0, 12) << "...";
    EXPECT_EQ(c.value, value) << c.formula.substr(0, 12) << "...";
  }
}

}  // namespace
