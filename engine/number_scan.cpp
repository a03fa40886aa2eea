#include "engine/number_scan.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(char c) {
  return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive test for a lower-case ASCII word at text.
bool starts_with_word(const char* text, const char* word) {
  for (; *word; ++text, ++word)
    if (lower(*text) != *word) return false;
  return true;
}

// The shape of one number: where its mantissa and exponent lie, and whether
// the mantissa holds a non-zero digit, so that an out-of-range conversion can
// be told apart as overflow or underflow.
struct Shape {
  const char* end = nullptr;  // one past the last accepted character
  long magnitude = 0;         // exponent of the leading non-zero digit, in the base's digits
  bool non_zero = false;
};

// Reads an optional exponent ("e" or "p" already tested by the caller) and
// returns its value, saturated far beyond any double's range.
const char* scan_exponent(const char* p, long* exponent) {
  const char* q = p + 1;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = (*q++ == '-');
  if (!is_digit(*q)) return p;  // "1e" or "1e+" accepts only the mantissa
  long e = 0;
  for (; is_digit(*q); ++q)
    if (e < 1000000) e = e * 10 + (*q - '0');
  *exponent = negative ? -e : e;
  return q;
}

// mantissa digits [ "." digits ] with at least one digit; returns false when
// there is none. digit_ok tells the base's digits apart.
bool scan_mantissa(const char* p, bool (*digit_ok)(char), Shape* shape) {
  long before_point = 0, leading_zeros_after_point = 0;
  bool any = false, seen_non_zero = false;
  for (; digit_ok(*p); ++p, any = true) {
    if (*p != '0') seen_non_zero = true;
    if (seen_non_zero) ++before_point;
  }
  if (*p == '.') {
    ++p;
    for (; digit_ok(*p); ++p, any = true) {
      if (*p != '0') seen_non_zero = true;
      if (!seen_non_zero) ++leading_zeros_after_point;
    }
  }
  if (!any) return false;
  shape->end = p;
  shape->non_zero = seen_non_zero;
  shape->magnitude = before_point > 0 ? before_point - 1 : -(leading_zeros_after_point + 1);
  return true;
}

// Converts the exact range [first, end) that the shape accepted.
double convert(const char* first, const Shape& shape, std::chars_format format, long exponent,
               int bits_per_digit) {
  double value = 0.0;
  std::from_chars_result r = std::from_chars(first, shape.end, value, format);
  if (r.ec == std::errc::result_out_of_range) {
    // Overflow when the leading digit stands above the unit position.
    long magnitude = shape.magnitude * bits_per_digit + exponent;
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

int scan_unsigned(const char* text, double* value) {
  const char* p = text;
  if (starts_with_word(p, "inf")) {
    *value = std::numeric_limits<double>::infinity();
    return starts_with_word(p, "infinity") ? 8 : 3;
  }
  if (starts_with_word(p, "nan")) {
    *value = std::numeric_limits<double>::quiet_NaN();
    const char* q = p + 3;
    if (*q == '(') {
      const char* r = q + 1;
      while (is_digit(*r) || (lower(*r) >= 'a' && lower(*r) <= 'z') || *r == '_') ++r;
      if (*r == ')') q = r + 1;
    }
    return static_cast<int>(q - text);
  }
  Shape shape;
  long exponent = 0;
  if (p[0] == '0' && lower(p[1]) == 'x' && scan_mantissa(p + 2, is_hex_digit, &shape)) {
    if (lower(*shape.end) == 'p') shape.end = scan_exponent(shape.end, &exponent);
    *value = convert(p + 2, shape, std::chars_format::hex, exponent, 4);
    return static_cast<int>(shape.end - text);
  }
  if (!scan_mantissa(p, is_digit, &shape)) return 0;
  if (lower(*shape.end) == 'e') shape.end = scan_exponent(shape.end, &exponent);
  // Decimal digits count as about 3.32 bits; the sign of the magnitude is
  // all that matters here.
  *value = convert(p, shape, std::chars_format::general, exponent, 1);
  return static_cast<int>(shape.end - text);
}

}  // namespace

int number_scan(const char* text, double* value) {
  *value = 0.0;
  if (!text) return 0;
  const char* p = text;
  while (is_space(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  double magnitude = 0.0;
  int used = scan_unsigned(p, &magnitude);
  if (used == 0) return 0;
  *value = negative ? -magnitude : magnitude;
  return static_cast<int>(p - text) + used;
}
