// Any double, any format name and any capacity through format value, and any
// date through the two calendar conversions. Contract: the output is always
// terminated inside its capacity; a fixed-decimal text reads back as the
// value it stands for, rounded to its decimals; a valid civil date survives
// the round trip through its day number and its text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/format.h"
#include "engine/number_scan.h"
#include "fuzz_check.h"

namespace {

const char* const kFormatNames[] = {"f0", "f1", "f2", "f3", "int", "pct", "date", "", "F0", "f4"};

int decimals_of(const char* name) {
  if (!std::strcmp(name, "f0") || !std::strcmp(name, "int")) return 0;
  if (!std::strcmp(name, "f1") || !std::strcmp(name, "pct")) return 1;
  if (!std::strcmp(name, "f3")) return 3;
  return 2;
}

// The text up to its first character outside ASCII, where a number ends.
std::string ascii_prefix(const wchar_t* text) {
  std::string narrow;
  for (; *text > 0 && *text < 128; ++text) narrow.push_back(static_cast<char>(*text));
  return narrow;
}

// The text printed for a finite value below 1e74 in a fixed-decimal format
// is the value rounded to that many decimals, and nothing else. (Up to 1e75
// the fixed text fits the 79-character work text except for negative values
// with three decimals, which the formatter prints in exponent form.)
void check_fixed_text(const char* name, double value, const wchar_t* text) {
  if (!(std::fabs(value) < 1e74) || !std::strcmp(name, "date")) return;
  double back = 0;
  int used = number_scan(ascii_prefix(text).c_str(), &back);
  FUZZ_CHECK(used > 0);
  const bool percent = !std::strcmp(name, "pct");
  FUZZ_CHECK(text[used] == (percent ? L'%' : 0));
  if (percent) FUZZ_CHECK(text[used + 1] == 0);
  const double half_step = 0.5 * std::pow(10.0, -decimals_of(name));
  if (!(std::fabs(back - value) <= half_step + 4 * std::fabs(value) * 2.3e-16))
    std::fprintf(stderr, "format \"%s\" of %.17g printed %ls\n", name, value, text);
  FUZZ_CHECK(std::fabs(back - value) <= half_step + 4 * std::fabs(value) * 2.3e-16);
}

void check_format(const char* name, double value, int capacity) {
  wchar_t* buffer = new wchar_t[capacity];
  poison(buffer, capacity);
  format_value(name, value, buffer, capacity);
  FUZZ_CHECK(terminated_within(buffer, capacity));
  if (!std::isfinite(value))
    FUZZ_CHECK(std::wcsncmp(buffer, L"--", capacity - 1) == 0);
  else if (capacity >= 128 && name)
    check_fixed_text(name, value, buffer);
  delete[] buffer;
}

void check_day_number_text(long long day_number, int capacity) {
  wchar_t* buffer = new wchar_t[capacity];
  poison(buffer, capacity);
  date_text_from_day_number(day_number, buffer, capacity);
  FUZZ_CHECK(terminated_within(buffer, capacity));
  delete[] buffer;
}

int days_in_month(long long year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// A valid civil date maps to a day number whose text is the date itself, and
// the next day's number is one more.
void check_civil_date(int year, int month, int day) {
  const long long n = day_number_from_date(year, month, day);
  wchar_t text[32];
  date_text_from_day_number(n, text, 32);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%04d-%02d-%02d", year, month, day);
  for (int i = 0;; ++i) {
    FUZZ_CHECK(text[i] == static_cast<unsigned char>(expected[i]));
    if (!expected[i]) break;
  }
  const bool last_day = day == days_in_month(year, month);
  const long long next = last_day ? (month == 12 ? day_number_from_date(year + 1, 1, 1)
                                                 : day_number_from_date(year, month + 1, 1))
                                  : day_number_from_date(year, month, day + 1);
  FUZZ_CHECK(next == n + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const uint64_t bits = in.ConsumeIntegral<uint64_t>();
  double value;
  std::memcpy(&value, &bits, sizeof value);
  const int capacity = in.ConsumeIntegralInRange<int>(1, 160);

  // Civil dates inside the range whose years the 32-bit arithmetic carries.
  const int year = in.ConsumeIntegralInRange<int>(-5000000, 5000000);
  const int month = in.ConsumeIntegralInRange<int>(1, 12);
  const int day = in.ConsumeIntegralInRange<int>(1, days_in_month(year, month));
  check_civil_date(year, month, day);
  check_day_number_text(in.ConsumeIntegral<long long>(), capacity);

  // Any date at all: out-of-range days carry over one for one.
  const int any_year = in.ConsumeIntegral<int>();
  const int any_month = in.ConsumeIntegral<int>();
  const int any_day = in.ConsumeIntegral<int>();
  const long long carried = day_number_from_date(any_year, any_month, any_day);
  FUZZ_CHECK(carried == day_number_from_date(any_year, any_month, 1) + (any_day - 1LL));

  const std::string free_name = in.ConsumeRemainingBytesAsString();
  check_format(free_name.c_str(), value, capacity);
  check_format(nullptr, value, capacity);
  for (const char* name : kFormatNames) {
    check_format(name, value, capacity);
    check_format(name, value, 128);
  }
  return 0;
}
