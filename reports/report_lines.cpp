#include "reports/report_lines.h"

#include <climits>
#include <cmath>
#include <cstdarg>

#include "base/text.h"

double report_input(const ToolDef* tool, const double* parameter_values, const char* key) {
  int index = find_parameter(tool, key);
  return index >= 0 ? parameter_values[index] : 0.0;
}

int integer_from_report_value(double value) {
  // Converting a double whose truncation does not fit an int is undefined
  // behaviour, so the range is checked on the truncated double first.
  if (std::isnan(value)) return 0;
  double whole = std::trunc(value);
  if (whole < static_cast<double>(INT_MIN)) return INT_MIN;
  if (whole > static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(whole);
}

int report_integer_input(const ToolDef* tool, const double* parameter_values, const char* key) {
  return integer_from_report_value(report_input(tool, parameter_values, key));
}

int clamp_report_integer(int value, int low, int high) {
  if (value < low) return low;
  if (value > high) return high;
  return value;
}

void append_report_line(wchar_t* result, int capacity, const wchar_t* line) {
  wchar_t scratch[kReportLineCapacity];
  text_copy(scratch, kReportLineCapacity, line);
  text_append(result, capacity, scratch);
  text_append(result, capacity, L"\r\n");
}

// NOLINTNEXTLINE(cert-dcl50-cpp): printf-style on purpose, as text_format is.
void append_report_line_format(wchar_t* result, int capacity, const wchar_t* format, ...) {
  wchar_t scratch[kReportLineCapacity];
  va_list args;
  va_start(args, format);
  text_vformat(scratch, kReportLineCapacity, format, args);
  va_end(args);
  text_append(result, capacity, scratch);
  text_append(result, capacity, L"\r\n");
}
