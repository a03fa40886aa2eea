#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Copies len bytes of src into out, cut to the capacity, and terminates.
int emit(char* out, int capacity, const char* src, int len) {
  if (capacity <= 0) return 0;
  if (len > capacity - 1) len = capacity - 1;
  std::memcpy(out, src, static_cast<size_t>(len));
  out[len] = '\0';
  return len;
}

int emit_non_finite(char* out, int capacity, double value) {
  if (std::isnan(value)) return emit(out, capacity, "nan", 3);
  return value < 0 ? emit(out, capacity, "-inf", 4) : emit(out, capacity, "inf", 3);
}

}  // namespace

int number_fixed(char* out, int capacity, double value, int decimals) {
  if (!std::isfinite(value)) return emit_non_finite(out, capacity, value);
  if (decimals < 0) decimals = 0;
  if (decimals > 60) decimals = 60;
  // The largest double has 309 integer digits; with the sign, the point and
  // 60 decimals the text stays below 400 characters.
  char work[400];
  std::to_chars_result r =
      std::to_chars(work, work + sizeof work, value, std::chars_format::fixed, decimals);
  return emit(out, capacity, work, static_cast<int>(r.ptr - work));
}

int number_general(char* out, int capacity, double value, int precision) {
  if (!std::isfinite(value)) return emit_non_finite(out, capacity, value);
  if (precision <= 0) precision = 1;
  if (precision > 40) precision = 40;
  char work[400];
  std::to_chars_result r =
      std::to_chars(work, work + sizeof work, value, std::chars_format::general, precision);
  return emit(out, capacity, work, static_cast<int>(r.ptr - work));
}

int number_integer(char* out, int capacity, long long value) {
  char digits[24];
  std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
  return emit(out, capacity, digits, static_cast<int>(r.ptr - digits));
}
