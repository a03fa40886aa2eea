#include "engine/calculation.h"

#include "base/text.h"
#include "engine/format.h"
#include "engine/formula.h"

const wchar_t kIncompleteWarning[] = L"（部分结果无法计算，请检查输入是否合理）\r\n";
const wchar_t kDefaultVerdict[] = L"请核对输入参数后重新计算";
const wchar_t kNoReportText[] = L"（该工具暂无自定义报告）";
const wchar_t kNoReportVerdict[] = L"暂无报告内容";

namespace {

// Appends one "label：value unit" line for output i under the bounded-append rule.
void append_output_line(const OutputDef& output, double value, wchar_t* result, int capacity) {
  wchar_t value_text[128];
  wchar_t line[256];
  format_value(output.format, value, value_text, 128);
  if (output.unit && output.unit[0])
    text_format(line, 256, L"%ls：%ls %ls\r\n", output.label, value_text, output.unit);
  else
    text_format(line, 256, L"%ls：%ls\r\n", output.label, value_text);
  text_append(result, capacity, line);
}

// The first rule whose condition is empty, or evaluates without error to a
// non-zero value, wins; returns its index or -1.
int find_winning_rule(const ToolDef* tool, const double* parameter_values, const double* outputs) {
  for (int i = 0; i < tool->rule_count; ++i) {
    const VerdictRule& rule = tool->rules[i];
    if (!rule.condition || !rule.condition[0]) return i;
    int error = 0;
    double value = evaluate_formula(tool, rule.condition, parameter_values, outputs, &error);
    if (!error && value != 0) return i;
  }
  return -1;
}

}  // namespace

int run_calculation(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                    int result_capacity, wchar_t* verdict, int verdict_capacity, int* level,
                    wchar_t* detail, int detail_capacity) {
  text_clear(result, result_capacity);
  text_clear(verdict, verdict_capacity);
  text_clear(detail, detail_capacity);
  *level = 0;

  if (tool->report_kind != 0) {
    if (tool->report) {
      *level = tool->report(tool->report_kind, tool, parameter_values, result, result_capacity,
                            verdict, verdict_capacity);
    } else {
      text_copy(result, result_capacity, kNoReportText);
      text_copy(verdict, verdict_capacity, kNoReportVerdict);
    }
    text_copy(detail, detail_capacity, result);
    return *level;
  }

  double outputs[kMaxOutputs] = {};
  bool incomplete = false;
  for (int i = 0; i < tool->output_count; ++i) {
    int error = 0;
    outputs[i] =
        evaluate_formula(tool, tool->outputs[i].formula, parameter_values, outputs, &error);
    if (error) incomplete = true;
  }
  for (int i = 0; i < tool->output_count; ++i)
    append_output_line(tool->outputs[i], outputs[i], result, result_capacity);
  if (incomplete) text_append(result, result_capacity, kIncompleteWarning);

  int winner = find_winning_rule(tool, parameter_values, outputs);
  if (winner >= 0) {
    text_copy(verdict, verdict_capacity, tool->rules[winner].verdict);
    *level = tool->rules[winner].level;
  }
  if (verdict[0] == 0) text_copy(verdict, verdict_capacity, kDefaultVerdict);

  text_copy(detail, detail_capacity, result);
  return *level;
}
