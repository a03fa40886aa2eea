// The built-in clinical reference reports that replace the formula outputs of
// a tool whose report kind is 1 to 11.
#pragma once

#include "engine/tool.h"

// Empties both texts, writes the report of the given kind (or the no-report
// text for any other kind) and returns its level. The verdict buffer must hold
// at least 21 characters, the result buffer at least 13. A tool definition
// with a report sets its ToolDef::report to this.
int run_report(int report_kind, const ToolDef* tool, const double* parameter_values,
               wchar_t* result, int result_capacity, wchar_t* verdict, int verdict_capacity);
