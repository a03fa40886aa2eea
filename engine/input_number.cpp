#include "engine/input_number.h"

#include <cmath>
#include <cstring>

#include "engine/number_scan.h"

namespace {

// The longest number text read; an input field holds at most 127 characters.
constexpr int kNumberCapacity = 512;

// The ASCII character that a character of the field stands for: ' ' for every
// blank, the ASCII form of a full-width character, the character itself for
// printable ASCII, and 0 for anything else (which no number contains). With
// comma_as_point, commas and ideographic full stops stand for '.'.
char ascii_form(wchar_t c, bool comma_as_point) {
  if (c == L' ' || c == L'\t' || c == 0x3000) return ' ';
  // Not a char: a negative 32-bit wchar_t stays negative and falls in no
  // range below.
  // NOLINTNEXTLINE(bugprone-signed-char-misuse,cert-str34-c)
  long code = static_cast<long>(c);
  if (code >= 0xFF01 && code <= 0xFF5E)
    code = code - 0xFF01 + 0x21;  // the block mirrors 0x21..0x7E
  if (comma_as_point && (code == ',' || code == 0x3002 || code == 0xFF61)) return '.';
  return code > 0x20 && code < 0x7F ? static_cast<char>(code) : '\0';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

const char* skip_digits(const char* p) {
  // The analyzer loses the terminator narrow_trimmed writes after the last
  // character it keeps, and takes the byte past it for unwritten.
  while (is_digit(*p)) ++p;  // NOLINT(clang-analyzer-core.CallAndMessage)
  return p;
}

const char* skip_sign(const char* p) { return *p == '+' || *p == '-' ? p + 1 : p; }

// mantissa = digits ["." {digit}] | "." digits; returns nullptr when absent.
const char* scan_mantissa(const char* p) {
  const char* after_digits = skip_digits(p);
  if (after_digits != p) return *after_digits == '.' ? skip_digits(after_digits + 1) : after_digits;
  if (*p == '.' && is_digit(p[1])) return skip_digits(p + 1);
  return nullptr;
}

// exponent = ("e" | "E") [sign] digits; returns nullptr when malformed.
const char* scan_exponent(const char* p) {
  const char* digits = skip_sign(p + 1);
  const char* end = skip_digits(digits);
  return end != digits ? end : nullptr;
}

// number = [sign] mantissa [exponent]; true when it spans the whole text.
bool is_whole_number(const char* text) {
  const char* p = scan_mantissa(skip_sign(text));
  if (p && (*p == 'e' || *p == 'E')) p = scan_exponent(p);
  return p && *p == '\0';
}

// The text in ASCII form without its outer blanks; false when a character
// has no ASCII form or the text does not fit.
bool narrow_trimmed(const wchar_t* text, char* narrow, int capacity, bool comma_as_point) {
  int n = 0;
  for (; *text; ++text) {
    char c = ascii_form(*text, comma_as_point);
    if (c == 0) return false;
    if (c == ' ' && n == 0) continue;
    if (n == capacity - 1) return false;
    narrow[n++] = c;
  }
  while (n > 0 && narrow[n - 1] == ' ') --n;
  narrow[n] = '\0';
  return true;
}

// "1,000" may hold a thousands separator as well as a decimal comma, and
// naming the point would steer it towards 1.000: a comma with exactly three
// digits after it is not taken for a decimal comma.
bool comma_groups_thousands(const wchar_t* text) {
  for (; *text; ++text) {
    if (ascii_form(*text, false) != ',') continue;
    int digits = 0;
    while (is_digit(ascii_form(text[1 + digits], false))) ++digits;
    return digits == 3;
  }
  return false;
}

// A text that is not a number as written but would be one with a point in
// place of its comma or ideographic full stop (a second point fails the shape).
bool written_with_decimal_comma(const wchar_t* text) {
  char narrow[kNumberCapacity];
  return !comma_groups_thousands(text) && narrow_trimmed(text, narrow, kNumberCapacity, true) &&
         is_whole_number(narrow);
}

}  // namespace

InputNumberStatus input_number_read(const wchar_t* text, double* value) {
  *value = 0.0;
  if (!text) return kInputEmpty;
  char narrow[kNumberCapacity];
  const bool narrowed = narrow_trimmed(text, narrow, kNumberCapacity, false);
  if (narrowed && narrow[0] == '\0') return kInputEmpty;
  if (!narrowed || !is_whole_number(narrow))
    return written_with_decimal_comma(text) ? kInputDecimalComma : kInputNotNumber;
  // The shape is a subset of what number_scan accepts, so it converts the
  // whole text; a value out of the double range comes back infinite.
  double converted = 0.0;
  const int length = static_cast<int>(std::strlen(narrow));
  if (number_scan(narrow, &converted) != length || !std::isfinite(converted))
    return kInputNotNumber;
  *value = converted;
  return kInputNumber;
}
