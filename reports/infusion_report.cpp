// Kind 10, infusion card: bed, dose, solvent and drip rate on a card to be
// checked by two nurses.
#include "base/text.h"
#include "reports/report_generators.h"
#include "reports/report_lines.h"

namespace {

// One ml is taken as 20 drops, so drops per minute times 3 is ml per hour.
constexpr double kMlPerHourPerDropPerMinute = 3;

const wchar_t kCardTitle[] = L"静脉输液卡";
const wchar_t kBedFormat[] = L"床号：%d";
const wchar_t kSolutionFormat[] = L"药液：医嘱药量 %.2f ，加入溶媒 %.0f ml";
const wchar_t kDripFormat[] = L"滴速：%.0f 滴/分（约 %.0f ml/h）";
const wchar_t kCheckLine[] = L"核对：药名/剂量/浓度/有效期/配伍；双人签名。";
const wchar_t kObserveLine[] = L"观察：穿刺点、滴速、输注反应；每 30 分钟巡视并记录。";
const wchar_t kInfusionVerdict[] = L"输液卡已生成，双人核对后执行";

}  // namespace

int infusion_card_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                         int result_capacity, wchar_t* verdict, int verdict_capacity) {
  int bed = report_integer_input(tool, parameter_values, "bed");
  double dose = report_input(tool, parameter_values, "dose");
  double volume = report_input(tool, parameter_values, "volume");
  double drops_per_minute = report_input(tool, parameter_values, "gtt");
  append_report_line(result, result_capacity, kCardTitle);
  append_report_line_format(result, result_capacity, kBedFormat, bed);
  append_report_line_format(result, result_capacity, kSolutionFormat, dose, volume);
  append_report_line_format(result, result_capacity, kDripFormat, drops_per_minute,
                            drops_per_minute * kMlPerHourPerDropPerMinute);
  append_report_line(result, result_capacity, kCheckLine);
  append_report_line(result, result_capacity, kObserveLine);
  text_copy(verdict, verdict_capacity, kInfusionVerdict);
  return 0;
}
