// The proleptic Gregorian calendar: day numbers counted from 1970-01-01 and
// their "%04lld-%02lld-%02lld" text, checked against an independent walk
// through the calendar.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "engine/format.h"

namespace {

std::wstring date_text(long long day_number, int capacity = 32) {
  wchar_t buffer[32];
  date_text_from_day_number(day_number, buffer, capacity);
  return buffer;
}

bool is_leap(long long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(long long year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && is_leap(year) ? 29 : kDays[month - 1];
}

// The expected text, built digit by digit into a fixed buffer (the walk
// below checks over a million days): at least four year characters with a
// minus sign counting toward them, two each for month and day.
void expected_text(long long year, int month, int day, wchar_t* out) {
  wchar_t digits[24];
  int n = 0;
  unsigned long long magnitude = year < 0 ? 0ULL - static_cast<unsigned long long>(year)
                                          : static_cast<unsigned long long>(year);
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  int pos = 0;
  if (year < 0) out[pos++] = L'-';
  while (pos + n < 4) out[pos++] = L'0';
  while (n) out[pos++] = digits[--n];
  const int rest[] = {month, day};
  for (int part : rest) {
    out[pos++] = L'-';
    out[pos++] = static_cast<wchar_t>(L'0' + part / 10);
    out[pos++] = static_cast<wchar_t>(L'0' + part % 10);
  }
  out[pos] = 0;
}

bool same_text(const wchar_t* a, const wchar_t* b) {
  for (; *a && *a == *b; ++a, ++b) {}
  return *a == *b;
}

TEST(Date, FixedPoints) {
  struct Point {
    int year, month, day;
    long long day_number;
    const wchar_t* text;
  } points[] = {
      {1970, 1, 1, 0, L"1970-01-01"},      {1969, 12, 31, -1, L"1969-12-31"},
      {2000, 2, 29, 11016, L"2000-02-29"}, {2024, 1, 1, 19723, L"2024-01-01"},
      {0, 3, 1, -719468, L"0000-03-01"},   {1, 1, 1, -719162, L"0001-01-01"},
  };
  for (const Point& p : points) {
    EXPECT_EQ(p.day_number, day_number_from_date(p.year, p.month, p.day)) << p.year;
    EXPECT_EQ(std::wstring(p.text), date_text(p.day_number)) << p.day_number;
  }
}

// Every day from year -800 to 2800: both conversions agree with a calendar
// walked one day at a time.
TEST(Date, EveryDayOverCenturiesRoundTrips) {
  long long day_number = day_number_from_date(-800, 1, 1);
  long long year = -800;
  int month = 1, day = 1;
  int mismatches = 0;
  while (year <= 2800 && mismatches < 5) {
    long long from_date = day_number_from_date(static_cast<int>(year), month, day);
    wchar_t text[32], expected[32];
    date_text_from_day_number(day_number, text, 32);
    expected_text(year, month, day, expected);
    if (from_date != day_number || !same_text(expected, text)) {
      ++mismatches;
      std::wstring shown = text;
      ADD_FAILURE() << "day " << day_number << ": from date " << from_date << ", text "
                    << std::string(shown.begin(), shown.end());
    }
    ++day_number;
    if (++day > days_in_month(year, month)) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  }
  EXPECT_EQ(day_number_from_date(2801, 1, 1), day_number);
}

TEST(Date, LeapYearRules) {
  struct Year {
    int year;
    bool leap;
  } years[] = {{1900, false}, {2000, true}, {2024, true}, {2023, false}, {2100, false},
               {1600, true},  {0, true},    {-4, true},   {-100, false}, {-400, true}};
  for (const Year& y : years) {
    long long march_first = day_number_from_date(y.year, 3, 1);
    EXPECT_EQ(march_first - 1, day_number_from_date(y.year, 2, y.leap ? 29 : 28)) << y.year;
    EXPECT_EQ(y.leap ? 366 : 365,
              day_number_from_date(y.year + 1, 1, 1) - day_number_from_date(y.year, 1, 1))
        << y.year;
  }
  EXPECT_EQ(L"1900-03-01", date_text(day_number_from_date(1900, 2, 29)));
}

TEST(Date, OutOfRangeMonthsAndDaysCarryOver) {
  struct Carry {
    int year, month, day;
    int as_year, as_month, as_day;
  } cases[] = {
      {2024, 2, 30, 2024, 3, 1}, {2023, 2, 29, 2023, 3, 1},  {2024, 13, 1, 2025, 1, 1},
      {2024, 0, 1, 2023, 12, 1}, {2024, 1, 0, 2023, 12, 31}, {2024, 1, 32, 2024, 2, 1},
      {2024, 14, 1, 2025, 2, 1}, {2024, 12, 32, 2025, 1, 1},
  };
  for (const Carry& c : cases)
    EXPECT_EQ(day_number_from_date(c.as_year, c.as_month, c.as_day),
              day_number_from_date(c.year, c.month, c.day))
        << c.year << "-" << c.month << "-" << c.day;
}

TEST(Date, NegativeAndFiveDigitYears) {
  struct Text {
    int year, month, day;
    const wchar_t* text;
  } cases[] = {
      {-1, 1, 1, L"-001-01-01"},        {-1, 12, 31, L"-001-12-31"},
      {5, 6, 7, L"0005-06-07"},         {-999, 3, 4, L"-999-03-04"},
      {-1000, 3, 4, L"-1000-03-04"},    {10000, 1, 1, L"10000-01-01"},
      {-10000, 2, 29, L"-10000-02-29"}, {9999, 12, 31, L"9999-12-31"},
  };
  for (const Text& c : cases)
    EXPECT_EQ(std::wstring(c.text), date_text(day_number_from_date(c.year, c.month, c.day)));
}

// The whole range of 32-bit years converts without overflow and back.
TEST(Date, ExtremeYearsRoundTrip) {
  EXPECT_EQ(L"2147483647-12-31", date_text(day_number_from_date(INT_MAX, 12, 31)));
  EXPECT_EQ(L"-2147483648-01-01", date_text(day_number_from_date(INT_MIN, 1, 1)));
  EXPECT_EQ(L"-2147483648-03-01", date_text(day_number_from_date(INT_MIN, 3, 1)));
  EXPECT_EQ(day_number_from_date(INT_MIN, 1, 1) + 1, day_number_from_date(INT_MIN, 1, 2));
}

// The largest and smallest day numbers that print a date, one past each,
// and the extremes of 64 bits: past the limit the text is "--".
TEST(Date, DayNumbersNearTheLimitsStayInTheBuffer) {
  const long long kLimit = LLONG_MAX / 400 - 146097;
  struct Limit {
    long long day_number;
    const wchar_t* text;
  } cases[] = {
      {kLimit, L"63131837320986-05-21"},
      {kLimit + 1, L"--"},
      {-kLimit, L"-63131837317047-08-13"},
      {-kLimit - 1, L"--"},
      {LLONG_MAX, L"--"},
      {LLONG_MIN, L"--"},
  };
  for (const Limit& c : cases) {
    wchar_t buffer[40];
    for (wchar_t& ch : buffer) ch = L'#';
    date_text_from_day_number(c.day_number, buffer, 25);
    EXPECT_EQ(std::wstring(c.text), std::wstring(buffer)) << c.day_number;
    for (int i = 25; i < 40; ++i) ASSERT_EQ(L'#', buffer[i]);
  }
}

TEST(Date, TextIsCutAtSmallCapacities) {
  struct Cut {
    int capacity;
    const wchar_t* text;
  } cases[] = {{1, L""},      {2, L"2"},          {5, L"2024"},
               {6, L"2024-"}, {10, L"2024-01-0"}, {11, L"2024-01-01"}};
  for (const Cut& c : cases) {
    wchar_t buffer[16];
    for (wchar_t& ch : buffer) ch = L'#';
    date_text_from_day_number(19723, buffer, c.capacity);
    EXPECT_EQ(std::wstring(c.text), std::wstring(buffer)) << c.capacity;
    for (int i = c.capacity; i < 16; ++i) ASSERT_EQ(L'#', buffer[i]) << c.capacity;
  }
}

}  // namespace
