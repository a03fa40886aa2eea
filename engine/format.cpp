#include "engine/format.h"

#include <cmath>
#include <cstring>

#include "base/number_text.h"
#include "base/text.h"

namespace {

// Decimals of each fixed-notation format name; "f2" and every unknown name
// are the fallback of format_value.
struct FixedFormat {
  const char* name;
  int decimals;
  bool percent;
};

const FixedFormat kFixedFormats[] = {
    {"f0", 0, false}, {"f1", 1, false}, {"f3", 3, false}, {"int", 0, false}, {"pct", 1, true},
};

// Values of this magnitude and above print in exponent form with six
// significant digits ("1.23457e+80") rather than as a cut or wrong number.
const double kFixedLimit = 1e75;

// Characters of the narrow work text, without its terminator. Just below
// kFixedLimit a negative value in "%.3f" needs 80 characters, so fixed
// notation that does not fit whole also falls back to the exponent form.
const int kWorkTextLength = 79;

void widen_into(const char* narrow, wchar_t* buffer, int capacity) {
  text_clear(buffer, capacity);
  text_append_ascii(buffer, capacity, narrow);
  buffer[capacity - 1] = 0;
}

}  // namespace

void format_value(const char* format_name, double value, wchar_t* buffer, int capacity) {
  if (capacity < 1) return;
  if (!std::isfinite(value)) {
    text_copy(buffer, capacity, L"--");
    return;
  }
  if (!format_name) format_name = "f2";
  if (std::strcmp(format_name, "date") == 0) {
    // Truncation toward zero; a value whose truncation does not fit 64 bits
    // prints no date rather than overflow.
    if (!(std::fabs(value) < 9.2e18)) {
      text_copy(buffer, capacity, L"--");
      return;
    }
    date_text_from_day_number(static_cast<long long>(value), buffer, capacity);
    return;
  }
  int decimals = 2;
  bool percent = false;
  for (const FixedFormat& f : kFixedFormats) {
    if (std::strcmp(format_name, f.name) == 0) {
      decimals = f.decimals;
      percent = f.percent;
      break;
    }
  }
  // Room for any fixed text of a double (309 integer digits), so that the
  // length test below sees the whole text, never a cut one.
  char work[400];
  const int suffix = percent ? 1 : 0;
  int len = 0;
  if (std::fabs(value) < kFixedLimit) len = number_fixed(work, sizeof work, value, decimals);
  if (len == 0 || len + suffix > kWorkTextLength) len = number_general(work, sizeof work, value, 6);
  if (percent) {
    work[len++] = '%';
    work[len] = '\0';
  }
  widen_into(work, buffer, capacity);
}

long long day_number_from_date(int year, int month, int day) {
  // 64-bit throughout: for dates near the calendar's ordinary range the
  // result is the same as in 32 bits, and for extreme arguments (year
  // -2147483648 in January, month or day near the 32-bit limits) nothing
  // overflows.
  long long y = month <= 2 ? year - 1LL : year;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long mp = month > 2 ? month - 3LL : month + 9LL;
  long long doy = (153 * mp + 2) / 5 + day - 1;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void date_text_from_day_number(long long day_number, wchar_t* buffer, int capacity) {
  if (capacity < 1) return;
  // Keep the arithmetic below from overflowing near the 64-bit limits.
  const long long kLimit = 9223372036854775807LL / 400 - 146097;
  if (day_number > kLimit || day_number < -kLimit) {
    text_copy(buffer, capacity, L"--");
    return;
  }
  long long z = day_number + 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  long long day = doy - (153 * mp + 2) / 5 + 1;
  long long month = mp < 10 ? mp + 3 : mp - 9;
  long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  text_format(buffer, capacity, L"%04lld-%02lld-%02lld", year, month, day);
}
