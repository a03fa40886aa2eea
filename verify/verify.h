// The verification: every case of a table typed into a calculator's screen
// as a person types it, calculated, and what the screen then shows (the
// result box, the verdict line's text, level and colour, any message box)
// compared with the table; the label and unit beside each field too. Written
// as a short report that is the same on every machine.
#pragma once

#include "engine/tool.h"
#include "selftest/selftest.h"
#include "verify/expected_table.h"
#include "verify/verify_screen.h"

// Capacity of the whole report text, in characters.
constexpr int kVerifyReportCapacity = 16384;

// Most disagreements the report lists; it counts all of them.
constexpr int kVerifyListed = 20;

struct VerifyCounts {
  int cases;      // typed cases run
  int disagreed;  // items and cases that disagree with the table
};

// Binds every item of the table on the screen, runs every case on it when
// each item was found, and builds the report; the tool names the report.
VerifyCounts build_verify_report(const ToolDef* tool, const ExpectedTable* table,
                                 const VerifyScreen* screen, wchar_t* report, int capacity);

// The verification's exit codes. A script reads the report only after 0 or
// 4; after 3 there is no report of this run at the path.
// 3 is the self-test's code for the same, so a script reads it alike in both.
constexpr int kVerifyPassed = 0;                        // report written, every case agrees
constexpr int kVerifyNotWritten = kSelftestNotWritten;  // the report could not be written whole
constexpr int kVerifyDisagreed = 4;  // report written, an item or a case disagrees, or no case ran

// Verifies the screen against the table and writes the report to path.
int write_verify_report(const ToolDef* tool, const ExpectedTable* table, const VerifyScreen* screen,
                        const wchar_t* path);

// Verifies the program's tool, through the portable screen, against the
// ICH score's table.
int run_verify(const wchar_t* path);
