#include "selftest/selftest.h"

#include "base/text.h"
#include "engine/calculation.h"
#include "engine/format.h"
#include "engine/formula.h"
#include "selftest/utf8_file.h"

// Keeps the report's length at hand rather than measuring the report again
// for every character, and stays within its capacity like text_append.
void append_flattened_detail(wchar_t* report, int capacity, const wchar_t* text) {
  int n = text_length(report);
  int count = 0;
  for (const wchar_t* p = text; p && *p && count < kSelftestDetailLimit && n < capacity - 1; ++p) {
    if (*p == L'\r') continue;
    report[n++] = *p == L'\n' ? L' ' : *p;
    report[n] = 0;
    ++count;
  }
}

namespace {

// One OUT line per output, each formula evaluated on its own against zeroed
// output values; returns how many failed.
int append_output_lines(const ToolDef* tool, const double* values, wchar_t* report, int capacity) {
  int errors = 0;
  for (int i = 0; i < tool->output_count; ++i) {
    const OutputDef& output = tool->outputs[i];
    double scratch[kMaxOutputs] = {};
    int error = 0;
    double value = evaluate_formula(tool, output.formula, values, scratch, &error);
    if (error) ++errors;
    wchar_t value_text[128];
    format_value(output.format, value, value_text, 128);
    wchar_t line[512];
    text_format(line, 512, L"OUT|%ls|%ls|%ls\r\n", output.label, value_text, output.unit);
    text_append(report, capacity, line);
  }
  return errors;
}

}  // namespace

int build_selftest_report(const ToolDef* tool, wchar_t* report, int capacity) {
  double values[kMaxParameters] = {};
  for (int i = 0; i < tool->parameter_count; ++i) values[i] = tool->parameters[i].default_value;

  static_assert(kSelftestReportCapacity > kSelftestDetailLimit + 512,
                "the report holds the DETAIL field whole");
  wchar_t result[8192];
  wchar_t verdict[512];
  wchar_t detail[8192];
  int level = 0;
  run_calculation(tool, values, result, 8192, verdict, 512, &level, detail, 8192);

  text_format(report, capacity, L"TOOL|%d|%ls|%ls\r\n", tool->id, tool->title, tool->category);
  wchar_t line[256];
  text_format(line, 256, L"LEVEL|%d\r\n", level);
  text_append(report, capacity, line);

  int errors = 0;
  if (tool->report_kind != 0)
    text_append(report, capacity, L"OUT|报告文本|见 DETAIL|\r\n");
  else
    errors = append_output_lines(tool, values, report, capacity);

  text_append(report, capacity, L"VERDICT|");
  text_append(report, capacity, verdict);
  text_append(report, capacity, L"\r\nDETAIL|");
  append_flattened_detail(report, capacity, result);
  text_append(report, capacity, L"\r\n");

  wchar_t errors_line[128];
  text_format(errors_line, 128, L"ERRORS|%d\r\n", errors);
  text_append(report, capacity, errors_line);
  return errors;
}

int run_selftest(const wchar_t* path) {
  wchar_t report[kSelftestReportCapacity];
  int errors = build_selftest_report(get_tool(), report, kSelftestReportCapacity);
  if (!write_utf8_text_file(path, report)) return kSelftestNotWritten;
  return errors != 0 ? kSelftestFormulaFailed : kSelftestPassed;
}
