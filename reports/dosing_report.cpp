// Kind 2, dosing schedule: doses at equal intervals from a first-dose hour,
// shown as day and clock time on one line.
#include <cmath>

#include "base/text.h"
#include "reports/report_generators.h"
#include "reports/report_lines.h"

namespace {

constexpr int kMostDoses = 30;
constexpr double kDefaultIntervalHours = 8;
constexpr double kHoursPerDay = 24;
// The day shown is 1 + the whole days, so it fits an int below this count.
constexpr double kMostWholeDays = 2147483647.0;

const wchar_t kDosingHeadingFormat[] = L"首剂时间 %.0f:00，间隔 %.0f 小时，共 %d 次：";
const wchar_t kDoseTimeFormat[] = L"第%d天 %02d:%02d";
const wchar_t kDoseSeparator[] = L"  |  ";
const wchar_t kDosingNote[] = L"说明：按等间隔给药；抗菌药物需结合半衰期与肾肝功能调整。";
const wchar_t kDosingVerdict[] = L"给药时间表已生成，注意首剂与夜间给药时间";
// Shown for a dose time whose day no longer fits the day counter.
const wchar_t kDoseTimeOutOfRange[] = L"第--天 --:--";

// Minutes are truncated after the floating subtraction, not rounded:
// hour 7.6 shows 07:35.
void format_dose_time(double hours_from_start_of_day_1, wchar_t* entry, int capacity) {
  double t = hours_from_start_of_day_1;
  double whole_days = std::trunc(t / kHoursPerDay);
  if (!(whole_days < kMostWholeDays)) {  // also catches an overflow to infinity
    text_copy(entry, capacity, kDoseTimeOutOfRange);
    return;
  }
  double r = std::fmod(t, kHoursPerDay);
  int hour = static_cast<int>(r);
  int minute = static_cast<int>((r - hour) * 60);
  text_format(entry, capacity, kDoseTimeFormat, 1 + static_cast<int>(whole_days), hour, minute);
}

}  // namespace

int dosing_schedule_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                           int result_capacity, wchar_t* verdict, int verdict_capacity) {
  // Hours that are not finite have no clock time; they are treated like the
  // out-of-range values next to them.
  double start = report_input(tool, parameter_values, "start");
  if (!std::isfinite(start) || start < 0) start = 0;
  double interval = report_input(tool, parameter_values, "interval");
  if (!std::isfinite(interval) || interval <= 0) interval = kDefaultIntervalHours;
  int doses =
      clamp_report_integer(report_integer_input(tool, parameter_values, "times"), 1, kMostDoses);

  append_report_line_format(result, result_capacity, kDosingHeadingFormat, start, interval, doses);
  for (int dose = 0; dose < doses; ++dose) {
    wchar_t entry[64];
    format_dose_time(start + dose * interval, entry, 64);
    text_append(result, result_capacity, entry);
    if (dose + 1 < doses) text_append(result, result_capacity, kDoseSeparator);
  }
  text_append(result, result_capacity, L"\r\n");
  append_report_line(result, result_capacity, kDosingNote);
  text_copy(verdict, verdict_capacity, kDosingVerdict);
  return 0;
}
