// number_scan: the strtod-shaped prefix (white space, sign, inf/nan, hex,
// exponent) and correct handling of values out of the double range; and
// input_number_read, the whole-text rule of the input fields built on it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "engine/input_number.h"
#include "engine/number_scan.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

bool same_value(double expected, double actual) {
  if (std::isnan(expected)) return std::isnan(actual);
  return expected == actual && std::signbit(expected) == std::signbit(actual);
}

struct Case {
  std::string text;
  double value;
  int consumed;
};

void check(const Case& c) {
  double value = -12345;
  int consumed = number_scan(c.text.c_str(), &value);
  EXPECT_EQ(c.consumed, consumed) << "\"" << c.text.substr(0, 40) << "\"";
  EXPECT_TRUE(same_value(c.value, value))
      << "\"" << c.text.substr(0, 40) << "\": expected " << c.value << ", got " << value;
}

TEST(NumberScan, WhiteSpaceSignAndNoNumber) {
  const Case cases[] = {
      {"12", 12, 2},  {"  12", 12, 4}, {"\t\n\v\f\r7", 7, 6}, {"+5", 5, 2},  {"-5", -5, 2},
      {" -5", -5, 3}, {"-", 0, 0},     {"+", 0, 0},           {"", 0, 0},    {"   ", 0, 0},
      {"abc", 0, 0},  {"--5", 0, 0},   {"- 5", 0, 0},         {"+-5", 0, 0}, {"-0", -0.0, 2},
  };
  for (const Case& c : cases) check(c);
  double value = 7;
  EXPECT_EQ(0, number_scan(nullptr, &value));
  EXPECT_EQ(0.0, value);
}

TEST(NumberScan, InfinityAndNaNInAnyCase) {
  const Case cases[] = {
      {"inf", kInf, 3},       {"INF", kInf, 3},      {"Infinity", kInf, 8},
      {"INFINITYx", kInf, 8}, {"infinit", kInf, 3},  {"-inf", -kInf, 4},
      {" +Inf", kInf, 5},     {"in", 0, 0},          {"nan", kNaN, 3},
      {"NaN", kNaN, 3},       {"-nan", kNaN, 4},     {"nan(123abc)", kNaN, 11},
      {"nan()", kNaN, 5},     {"nan(_x_)", kNaN, 8}, {"nan(", kNaN, 3},
      {"nan(12", kNaN, 3},    {"nan(1 2)", kNaN, 3}, {"na", 0, 0},
  };
  for (const Case& c : cases) check(c);
}

TEST(NumberScan, DecimalShapes) {
  const Case cases[] = {
      {"12abc", 12, 2},
      {"1,5", 1, 1},
      {".5", 0.5, 2},
      {"5.", 5, 2},
      {".", 0, 0},
      {".e1", 0, 0},
      {"-.5", -0.5, 3},
      {"+.e", 0, 0},
      {"1.5e3x", 1500, 5},
      {"00012", 12, 5},
      {"1e", 1, 1},
      {"1e+", 1, 1},
      {"1e-", 1, 1},
      {"1E5", 1e5, 3},
      {"1E+05", 1e5, 5},
      {"2.5E-2", 0.025, 6},
      {"1e5.5", 1e5, 3},
      {"0.1", 0.1, 3},
      {"2.675", 2.675, 5},
      {"1.e2", 100, 4},
      {"9007199254740993", 9007199254740992.0, 16},  // halfway: ties to even
      {"1.7976931348623157e308", DBL_MAX, 22},
      {"2.2250738585072014e-308", DBL_MIN, 23},
  };
  for (const Case& c : cases) check(c);
}

TEST(NumberScan, HexadecimalForms) {
  const Case cases[] = {
      {"0x10", 16, 4},
      {"0X1f", 31, 4},
      {"0x", 0, 1},
      {"0xg", 0, 1},
      {"0x1.8p3", 12, 7},
      {"0x1p-2", 0.25, 6},
      {"0x.8", 0.5, 4},
      {"0x1p", 1, 3},
      {"0x1p+", 1, 3},
      {"0x1P4", 16, 5},
      {"-0x10", -16, 5},
      {"0x1.", 1, 4},
      {"0x.", 0, 1},
      {"0x1p-1074", std::numeric_limits<double>::denorm_min(), 9},
      {"0x1.fffffffffffffp1023", DBL_MAX, 22},
      {"0x1p1024", kInf, 8},
      {"0x1p99999999999", kInf, 15},
      {"0x1p-1075", 0, 9},
      {"0x1p-99999999999", 0, 16},
  };
  for (const Case& c : cases) check(c);
}

TEST(NumberScan, OverflowBecomesInfinity) {
  const std::string digits400 = "1" + std::string(400, '0');
  const Case cases[] = {
      {"1e999", kInf, 5},
      {"-1e999", -kInf, 6},
      {"1.7976931348623159e308", kInf, 22},
      {"10e308", kInf, 6},
      {digits400, kInf, 401},
      {"-" + digits400 + ".5", -kInf, 404},
      {"1e99999999999999999999", kInf, 22},
      {"0.1e309", 1e308, 7},
  };
  for (const Case& c : cases) check(c);
}

TEST(NumberScan, UnderflowBecomesZeroOrSubnormal) {
  const std::string zeros399 = std::string(399, '0');
  const Case cases[] = {
      {"1e-999", 0, 6},
      {"-1e-999", -0.0, 7},
      {"4e-320", 4e-320, 6},
      {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min(), 23},
      {"2e-324", 0, 6},
      {"1e-99999999999999999999", 0, 23},
      {"0e99999999999999999999", 0, 22},
      {"0." + zeros399 + "1", 0, 402},
      // A mantissa far below 1 with an exponent that brings it back in range.
      {"0." + zeros399 + "1e400", 1, 406},
      {"1" + zeros399 + "e-399", 1, 405},
      {"1" + zeros399 + "0e-800", 0, 406},
  };
  for (const Case& c : cases) check(c);
}

TEST(NumberScan, LongDigitStringsRoundCorrectly) {
  const Case cases[] = {
      {"0." + std::string(1000, '3'), 1.0 / 3.0, 1002},
      {std::string(1000, '0') + "7", 7, 1001},
      {"1." + std::string(2000, '0') + "1", 1, 2003},
  };
  for (const Case& c : cases) check(c);
}

TEST(InputNumber, AcceptsOneWholeDecimalNumberBetweenBlanks) {
  struct Accepted {
    const wchar_t* text;
    double value;
  } cases[] = {
      {L"12", 12},
      {L" 12 ", 12},
      {L"\t12\t", 12},
      {L"\x3000"
       L"12\x3000",
       12},
      {L"+5", 5},
      {L"-0", -0.0},
      {L"1e1", 10},
      {L"1E+1", 10},
      {L"2.5e-1", 0.25},
      {L"5.", 5},
      {L".5", 0.5},
      {L"-.5e1", -5},
      {L"007", 7},
      {L"1e-400", 0},
      {L"1.7976931348623157e308", DBL_MAX},
      {L"\xFF11\xFF12", 12},               // full-width 12
      {L"\xFF13\xFF0E\xFF15", 3.5},        // full-width 3.5
      {L"\xFF0D\xFF12", -2},               // full-width minus
      {L"\xFF0B\xFF11\xFF45\xFF12", 100},  // full-width plus and e
      {L"1\xFF12.\xFF15", 12.5},           // the two forms mixed
  };
  for (const Accepted& c : cases) {
    double value = -1;
    EXPECT_EQ(kInputNumber, input_number_read(c.text, &value)) << c.text;
    EXPECT_TRUE(same_value(c.value, value)) << c.value << " " << value;
  }
}

// A missing value is told apart from a number: it must never read as 0.
TEST(InputNumber, TellsAnEmptyOrBlankText) {
  for (const wchar_t* text : {L"", L"   ", L"\t\x3000 ", static_cast<const wchar_t*>(nullptr)}) {
    double value = -1;
    EXPECT_EQ(kInputEmpty, input_number_read(text, &value));
    EXPECT_EQ(0.0, value);
  }
}

TEST(InputNumber, RefusesEveryOtherText) {
  // Worth 1 if read whole; longer than any field, so never read in part.
  const std::wstring long_number = L"1" + std::wstring(600, L'0') + L"e-600";
  const wchar_t* const texts[] = {
      L"abc",
      L"12abc",
      L"1,5,2",
      L"1O",
      L"12 13",
      L"--5",
      L"+-5",
      L"- 5",
      L"0x10",
      L"0X1p3",
      L"inf",
      L"-inf",
      L"Infinity",
      L"nan",
      L"nan(1)",
      L"1e999",
      L"-1e999",
      L"1e",
      L"1e+",
      L"e5",
      L".",
      L"-",
      L".e1",
      L"1.5.2",
      L"1e5.5",
      L"1 e5",
      L"1\n",
      L"\n1",
      L"1\r",
      L"12\xA0",
      L"\x4E00",
      L"1\x4E00",
      L"\x0131",                    // dotless i, whose low byte is the digit 1
      L"\xFF11\xFF10\xFF4D\xFF4C",  // full-width 10ml
      L"\xFF49\xFF4E\xFF46",        // full-width inf
      L"\xFF10\xFF58\xFF11\xFF10",  // full-width 0x10
      L"1,5.2",
      L",",
      L"\x3002",
      L"1\x3002\x3002"
      L"5",
      L"1,000",
      L"12\xFF0C\xFF15\xFF10\xFF10",
      long_number.c_str(),
  };
  for (const wchar_t* text : texts) {
    double value = -1;
    EXPECT_EQ(kInputNotNumber, input_number_read(text, &value)) << text;
    EXPECT_EQ(0.0, value);
  }
}

// A decimal comma or ideographic full stop is still refused, but told apart
// so the message can name the decimal point.
TEST(InputNumber, TellsADecimalCommaWithoutReadingIt) {
  for (const wchar_t* text : {L"12,5",
                              L" 12\x3002"
                              L"5 ",
                              L"\xFF11\xFF0C\xFF15",
                              L"1\xFF61"
                              L"5",
                              L"-,5e1", L"1,0000",
                              L"12\x3002"
                              L"500"}) {
    double value = -1;
    EXPECT_EQ(kInputDecimalComma, input_number_read(text, &value)) << text;
    EXPECT_EQ(0.0, value);
  }
}

}  // namespace
