#include "engine/text.h"
#include "reports/report.h"

int run_report(int report_kind, const ToolDef* tool, const double* parameter_values,
               wchar_t* result, int result_capacity, wchar_t* verdict, int verdict_capacity) {
  (void)report_kind;
  (void)tool;
  (void)parameter_values;
  text_clear(result, result_capacity);
  text_clear(verdict, verdict_capacity);
  text_copy(result, result_capacity, L"（该工具暂无自定义报告）");
  text_copy(verdict, verdict_capacity, L"暂无报告内容");
  return 0;
}
