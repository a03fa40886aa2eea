// The self-test: one calculation on the tool's default values, written as a
// small line-oriented report file that a script can check without a window.
#pragma once

#include "engine/tool.h"

// Capacity of the whole report text, in characters.
constexpr int kSelftestReportCapacity = 16384;

// Most characters of the result text that the DETAIL field takes.
constexpr int kSelftestDetailLimit = 8000;

// Appends the result text to the report as one line: CR is dropped and not
// counted, LF becomes one blank, and at most kSelftestDetailLimit characters
// are taken. Every append stays within the report's capacity.
void append_flattened_detail(wchar_t* report, int capacity, const wchar_t* text);

// Builds the report of the tool into the buffer and returns the number of
// output formulas that failed.
int build_selftest_report(const ToolDef* tool, wchar_t* report, int capacity);

// The self-test's exit codes. A script reads the report only after 0 or 2;
// after 3 there is no report of this run at the path.
constexpr int kSelftestPassed = 0;         // report written, no output formula failed
constexpr int kSelftestFormulaFailed = 2;  // report written, an output formula failed
constexpr int kSelftestNotWritten = 3;  // the report could not be created, written whole or closed

// Runs the self-test of the program's tool and writes the report to path.
// Returns kSelftestNotWritten when the report could not be written whole (a
// cut report is removed), else kSelftestPassed or kSelftestFormulaFailed.
int run_selftest(const wchar_t* path);
