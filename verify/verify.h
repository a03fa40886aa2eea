// The verification: every case of a table of typed inputs, read as the
// window reads its fields, calculated and formatted as the window shows
// them, compared with the table's expected score, mortality, verdict and
// level; written as a short report that is the same on every machine.
#pragma once

#include "engine/tool.h"
#include "selftest/selftest.h"
#include "verify/expected_table.h"

// Capacity of the whole report text, in characters.
constexpr int kVerifyReportCapacity = 16384;

// Most disagreements the report lists; it counts all of them.
constexpr int kVerifyListed = 20;

struct VerifyCounts {
  int cases;
  int disagreed;
};

// Runs every case of the table through the tool and builds the report.
VerifyCounts build_verify_report(const ToolDef* tool, const ExpectedTable* table, wchar_t* report,
                                 int capacity);

// The verification's exit codes. A script reads the report only after 0 or
// 4; after 3 there is no report of this run at the path.
// 3 is the self-test's code for the same, so a script reads it alike in both.
constexpr int kVerifyPassed = 0;                        // report written, every case agrees
constexpr int kVerifyNotWritten = kSelftestNotWritten;  // the report could not be written whole
constexpr int kVerifyDisagreed = 4;                     // report written, a case disagrees

// Verifies the tool against the table and writes the report to path.
int write_verify_report(const ToolDef* tool, const ExpectedTable* table, const wchar_t* path);

// Verifies the program's tool against the published ICH score.
int run_verify(const wchar_t* path);
