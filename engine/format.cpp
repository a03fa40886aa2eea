#include "engine/format.h"

#include <cmath>
#include <cstring>

#include "engine/number_text.h"
#include "engine/text.h"

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

// Below this magnitude "%.Nf" fits the 79 characters of the narrow work text
// in every format; larger values print in exponent form with six significant
// digits ("1.23457e+80") rather than as a cut or wrong number.
const double kFixedLimit = 1e75;

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
  char work[80];
  int len = std::fabs(value) < kFixedLimit
                ? number_fixed(work, sizeof work - 1, value, decimals)
                : number_general(work, sizeof work - 1, value, 6);
  if (percent) {
    work[len++] = '%';
    work[len] = '\0';
  }
  widen_into(work, buffer, capacity);
}

long long day_number_from_date(int year, int month, int day) {
  int y = month <= 2 ? year - 1 : year;
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400;
  int mp = month > 2 ? month - 3 : month + 9;
  int doy = (153 * mp + 2) / 5 + day - 1;
  long long doe = static_cast<long long>(yoe) * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<long long>(era) * 146097 + doe - 719468;
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
