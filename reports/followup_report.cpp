// Kind 7, follow-up plan: visit dates at equal gaps, counted from today's
// local date.
#include "base/text.h"
#include "engine/format.h"
#include "platform/platform.h"
#include "reports/report_generators.h"
#include "reports/report_lines.h"

namespace {

constexpr int kMostVisits = 20;
constexpr int kDefaultGapDays = 7;

const wchar_t kFollowupHeadingFormat[] =
    L"随访节点（以今天为基准，起始第 %d 天，间隔 %d 天，共 %d 次）：";
const wchar_t kVisitFormat[] = L"第 %d 次：%ls";
const wchar_t kFollowupContent[] =
    L"内容：症状与体征、用药依从性、复查项目、并发症预警、是否需要提前复诊。";
const wchar_t kFollowupVerdict[] = L"随访计划已生成，可按日期短信提醒患者";

}  // namespace

int followup_plan_from_day(long long today, const ToolDef* tool, const double* parameter_values,
                           wchar_t* result, int result_capacity, wchar_t* verdict,
                           int verdict_capacity) {
  int start = report_integer_input(tool, parameter_values, "start");
  int gap = report_integer_input(tool, parameter_values, "gap");
  if (gap < 1) gap = kDefaultGapDays;
  int visits =
      clamp_report_integer(report_integer_input(tool, parameter_values, "times"), 1, kMostVisits);

  append_report_line_format(result, result_capacity, kFollowupHeadingFormat, start, gap, visits);
  for (int visit = 1; visit <= visits; ++visit) {
    // At most 2^31 + 19 * 2^31 days away: far inside 64 bits and inside the
    // calendar's range.
    long long day = today + start + static_cast<long long>(visit - 1) * gap;
    wchar_t date[32];
    date_text_from_day_number(day, date, 32);
    append_report_line_format(result, result_capacity, kVisitFormat, visit, date);
  }
  append_report_line(result, result_capacity, kFollowupContent);
  text_copy(verdict, verdict_capacity, kFollowupVerdict);
  return 0;
}

int followup_plan_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                         int result_capacity, wchar_t* verdict, int verdict_capacity) {
  PlatformDateTime now{};
  platform_local_time(&now);
  long long today = day_number_from_date(now.year, now.month, now.day);
  return followup_plan_from_day(today, tool, parameter_values, result, result_capacity, verdict,
                                verdict_capacity);
}
