// How every built-in report reads its inputs and writes its lines.
#pragma once

#include "engine/tool.h"

// Size of the scratch a report line is produced in; longer lines are cut.
constexpr int kReportLineCapacity = 512;

// The value of the first parameter whose key equals key, or 0.0 when no
// parameter has it.
double report_input(const ToolDef* tool, const double* parameter_values, const char* key);

// A value truncated toward zero to a 32-bit integer. A value whose truncation
// lies beyond the 32-bit range gives the nearest end of the range, so that it
// keeps its side of every report's limits; NaN (which has no truncation)
// gives 0.
int integer_from_report_value(double value);

// report_input converted by integer_from_report_value.
int report_integer_input(const ToolDef* tool, const double* parameter_values, const char* key);

// value limited to low..high.
int clamp_report_integer(int value, int low, int high);

// Appends a fixed line, taken literally (a "%" prints as itself), then CR LF;
// both appends follow the bounded-append rule, so a line that fills the
// result loses all or part of its line end.
void append_report_line(wchar_t* result, int capacity, const wchar_t* line);

// Expands the format (text_format conversions) into the line scratch, then
// appends it and CR LF like append_report_line.
void append_report_line_format(wchar_t* result, int capacity, const wchar_t* format, ...);
