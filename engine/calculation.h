// The calculation run: evaluates a tool's outputs and verdict rules (or hands
// the job to a built-in report) and produces the Calculation result.
#pragma once

#include "engine/tool.h"

// The warning line appended to the result text once when any output failed.
extern const wchar_t kIncompleteWarning[];
// The verdict put in place when no rule won or the winner's text is empty.
extern const wchar_t kDefaultVerdict[];
// The result and verdict of a report kind that has no report.
extern const wchar_t kNoReportText[];
extern const wchar_t kNoReportVerdict[];

// The capacities, in characters, of the buffers the window calculates into.
// The verification calculates into the same, so that a long result is cut
// where the window would cut it.
constexpr int kShownResultCapacity = 4096;
constexpr int kShownVerdictCapacity = 512;
constexpr int kShownDetailCapacity = 8192;

// Fills the result, verdict and detail buffers and writes and returns the
// level. A tool of a non-zero report kind has its report run by the tool's
// own report dispatch. Capacities count characters; the verdict buffer must hold at least 21
// characters and the result buffer at least 13.
int run_calculation(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                    int result_capacity, wchar_t* verdict, int verdict_capacity, int* level,
                    wchar_t* detail, int detail_capacity);
