// format_value: every format name, rounding of exact ties, non-finite values,
// cuts at small capacities and values too large for fixed notation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "engine/format.h"
#include "engine/number_scan.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

std::wstring format(const char* name, double value, int capacity = 128) {
  wchar_t buffer[128];
  format_value(name, value, buffer, capacity);
  return buffer;
}

struct Case {
  const char* name;
  double value;
  const wchar_t* expected;
};

TEST(FormatValue, EveryFormatName) {
  const Case cases[] = {
      {"f0", 12.345, L"12"},
      {"f1", 12.345, L"12.3"},
      {"f2", 12.345, L"12.35"},
      {"f3", 12.345, L"12.345"},
      {"int", 12.345, L"12"},
      {"pct", 12.345, L"12.3%"},
      {"date", 12.345, L"1970-01-13"},
      {nullptr, 12.345, L"12.35"},
      {"", 12.345, L"12.35"},
      {"f0", 13, L"13"},
      {"pct", 13, L"13.0%"},
      {nullptr, 13, L"13.00"},
      {"F0", 13, L"13.00"},
      {"INT", 13, L"13.00"},
      {"Date", 13, L"13.00"},
      {"PCT", 13, L"13.00"},
      {"f4", 13, L"13.00"},
      {"f00", 13, L"13.00"},
      {"f0 ", 13, L"13.00"},
      {"pct%", 13, L"13.00"},
      {"unknown", 13, L"13.00"},
      {"pct", 0.5, L"0.5%"},
      {"int", 2.7, L"3"},
      {"f0", 2.7, L"3"},
      {"f3", -1.5, L"-1.500"},
      {"f1", 1e6, L"1000000.0"},
      {"f2", 0, L"0.00"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::wstring(c.expected), format(c.name, c.value))
        << (c.name ? c.name : "(null)") << " " << c.value;
}

TEST(FormatValue, ExactTiesGoToTheEvenDigit) {
  const Case cases[] = {
      {"f0", 0.5, L"0"},      {"f0", 1.5, L"2"},      {"f0", 2.5, L"2"},
      {"f0", 3.5, L"4"},      {"int", 2.5, L"2"},     {"int", 3.5, L"4"},
      {"f1", 0.25, L"0.2"},   {"f1", 0.35, L"0.3"},   {"f2", 0.125, L"0.12"},
      {"f2", 0.375, L"0.38"}, {"f2", 2.675, L"2.67"}, {"f3", 1.0005, L"1.000"},
      {"pct", 0.25, L"0.2%"}, {"f0", -2.5, L"-2"},    {"f0", -0.5, L"-0"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::wstring(c.expected), format(c.name, c.value)) << c.name << " " << c.value;
}

TEST(FormatValue, NegativeZeroKeepsItsSign) {
  EXPECT_EQ(L"-0", format("f0", -0.4));
  EXPECT_EQ(L"-0", format("f0", -0.0));
  EXPECT_EQ(L"-0", format("int", -0.4));
  EXPECT_EQ(L"-0.00", format("f2", -0.001));
  EXPECT_EQ(L"-0.0%", format("pct", -0.01));
}

TEST(FormatValue, NonFiniteValuesPrintDashesInEveryFormat) {
  const char* names[] = {"f0", "f1", "f2", "f3", "int", "pct", "date", nullptr, "", "other"};
  for (const char* name : names) {
    for (double value : {kInf, -kInf, kNaN, -kNaN}) {
      EXPECT_EQ(L"--", format(name, value)) << (name ? name : "(null)") << " " << value;
    }
  }
}

// The buffer is cut and terminated within its capacity; nothing past it is
// touched.
TEST(FormatValue, SmallCapacitiesCutAndTerminate) {
  struct Cut {
    const char* name;
    double value;
    int capacity;
    const wchar_t* expected;
  } cases[] = {
      {"f2", 12.345, 1, L""},   {"f2", 12.345, 3, L"12"},       {"f2", 12.345, 6, L"12.35"},
      {"pct", 13, 5, L"13.0"},  {"pct", 13, 6, L"13.0%"},       {"f0", kInf, 1, L""},
      {"f0", kNaN, 2, L"-"},    {"f0", -kInf, 3, L"--"},        {"date", 0, 5, L"1970"},
      {"date", 0, 1, L""},      {"date", 0, 11, L"1970-01-01"}, {"date", kNaN, 2, L"-"},
      {"f0", 1e300, 4, L"1e+"},
  };
  for (const Cut& c : cases) {
    wchar_t buffer[32];
    for (wchar_t& ch : buffer) ch = L'#';
    format_value(c.name, c.value, buffer, c.capacity);
    EXPECT_EQ(std::wstring(c.expected), std::wstring(buffer))
        << c.name << " capacity " << c.capacity;
    for (int i = c.capacity; i < 32; ++i)
      ASSERT_EQ(L'#', buffer[i]) << c.name << " capacity " << c.capacity;
  }
}

TEST(FormatValue, DateTruncatesTowardZero) {
  const Case cases[] = {
      {"date", 0, L"1970-01-01"},        {"date", -0.5, L"1970-01-01"},
      {"date", -1.5, L"1969-12-31"},     {"date", 12.9, L"1970-01-13"},
      {"date", -0.0, L"1970-01-01"},     {"date", 11016, L"2000-02-29"},
      {"date", 19723.99, L"2024-01-01"}, {"date", -719468, L"0000-03-01"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::wstring(c.expected), format(c.name, c.value)) << c.value;
}

TEST(FormatValue, DateBeyondTheDayNumberRangeStaysInTheBuffer) {
  for (double value : {9.3e18, -9.3e18, 1e300, -DBL_MAX, 9.2e18, 4e18, -4e18}) {
    wchar_t buffer[40];
    for (wchar_t& ch : buffer) ch = L'#';
    format_value("date", value, buffer, 32);
    EXPECT_LT(std::wstring(buffer).size(), 32u) << value;
    for (int i = 32; i < 40; ++i) ASSERT_EQ(L'#', buffer[i]);
  }
}

// Values too large for the 79-character work text never print as a cut
// number: a text in fixed notation is the whole number with the format's
// decimals (so it reads back as the value exactly), any other text is the
// exponent form with six significant digits.
void expect_whole_number(const char* name, int decimals, bool percent, double value) {
  std::wstring text = format(name, value);
  std::string narrow(text.begin(), text.end());
  if (percent) {
    ASSERT_FALSE(narrow.empty());
    ASSERT_EQ('%', narrow.back()) << narrow;
    narrow.pop_back();
  }
  ASSERT_LE(narrow.size() + (percent ? 1 : 0), 79u) << narrow;
  double back = 0;
  ASSERT_EQ(static_cast<int>(narrow.size()), number_scan(narrow.c_str(), &back)) << narrow;
  if (narrow.find('e') == std::string::npos) {
    size_t point = narrow.find('.');
    size_t shown = point == std::string::npos ? 0 : narrow.size() - point - 1;
    EXPECT_EQ(static_cast<size_t>(decimals), shown) << name << ": " << narrow;
    EXPECT_EQ(value, back) << name << ": " << narrow;
  } else {
    EXPECT_LE(std::fabs(back - value), std::fabs(value) * 5e-6) << name << ": " << narrow;
  }
}

TEST(FormatValue, HugeValuesNeverPrintACutNumber) {
  struct Fixed {
    const char* name;
    int decimals;
    bool percent;
  } formats[] = {{"f0", 0, false},  {"f1", 1, false}, {"f2", 2, false},   {"f3", 3, false},
                 {"int", 0, false}, {"pct", 1, true}, {nullptr, 2, false}};
  const double just_below = std::nextafter(1e75, 0.0);
  for (const Fixed& f : formats) {
    for (double magnitude :
         {1e70, 1e73, 1e74, 5e74, just_below, 1e75, 1e76, 1e80, 1e200, DBL_MAX}) {
      expect_whole_number(f.name, f.decimals, f.percent, magnitude);
      expect_whole_number(f.name, f.decimals, f.percent, -magnitude);
    }
  }
  EXPECT_EQ(L"1e+75", format("f2", 1e75));
  EXPECT_EQ(L"-1e+75", format("f0", -1e75));
  EXPECT_EQ(L"1.79769e+308", format("f3", DBL_MAX));
  EXPECT_EQ(L"1e+80%", format("pct", 1e80));
}

TEST(FormatValue, TinyValuesPrintAsZero) {
  EXPECT_EQ(L"0.00", format("f2", 4e-320));
  EXPECT_EQ(L"-0.000", format("f3", -1e-300));
}

}  // namespace
