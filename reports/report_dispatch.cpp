#include "base/text.h"
#include "engine/calculation.h"
#include "reports/report.h"
#include "reports/report_generators.h"

namespace {

// Indexed by report kind; slot 0 stands for "no report". Any kind without a
// report gives the calculation's no-report texts.
const ReportGenerator kReportGenerators[] = {
    nullptr,
    nurse_rota_report,          // 1
    dosing_schedule_report,     // 2
    blood_collection_report,    // 3
    critical_values_report,     // 4
    high_alert_drugs_report,    // 5
    drug_compatibility_report,  // 6
    followup_plan_report,       // 7
    surgical_checklist_report,  // 8
    handover_report,            // 9
    infusion_card_report,       // 10
    lab_panels_report,          // 11
};
constexpr int kLastReportKind =
    static_cast<int>(sizeof kReportGenerators / sizeof kReportGenerators[0]) - 1;

}  // namespace

int run_report(int report_kind, const ToolDef* tool, const double* parameter_values,
               wchar_t* result, int result_capacity, wchar_t* verdict, int verdict_capacity) {
  // A text without room even for its terminator is written into a spare one,
  // so that the report still runs and its level is still returned.
  wchar_t spare_result[1];
  wchar_t spare_verdict[1];
  if (!result || result_capacity < 1) {
    result = spare_result;
    result_capacity = 1;
  }
  if (!verdict || verdict_capacity < 1) {
    verdict = spare_verdict;
    verdict_capacity = 1;
  }
  text_clear(result, result_capacity);
  text_clear(verdict, verdict_capacity);

  if (report_kind >= 1 && report_kind <= kLastReportKind)
    return kReportGenerators[report_kind](tool, parameter_values, result, result_capacity, verdict,
                                          verdict_capacity);

  text_copy(result, result_capacity, kNoReportText);
  text_copy(verdict, verdict_capacity, kNoReportVerdict);
  return 0;
}
