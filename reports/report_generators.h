// The eleven built-in report generators, by report kind. Each expects both
// texts emptied by run_report, writes its lines and its verdict, and returns
// its level.
#pragma once

#include "engine/tool.h"

using ReportGenerator = int (*)(const ToolDef* tool, const double* parameter_values,
                                wchar_t* result, int result_capacity, wchar_t* verdict,
                                int verdict_capacity);

int nurse_rota_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                      int result_capacity, wchar_t* verdict, int verdict_capacity);  // 1
int dosing_schedule_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                           int result_capacity, wchar_t* verdict, int verdict_capacity);  // 2
int blood_collection_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                            int result_capacity, wchar_t* verdict, int verdict_capacity);  // 3
int critical_values_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                           int result_capacity, wchar_t* verdict, int verdict_capacity);  // 4
int high_alert_drugs_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                            int result_capacity, wchar_t* verdict, int verdict_capacity);  // 5
int drug_compatibility_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                              int result_capacity, wchar_t* verdict,
                              int verdict_capacity);  // 6
int followup_plan_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                         int result_capacity, wchar_t* verdict, int verdict_capacity);  // 7
int surgical_checklist_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                              int result_capacity, wchar_t* verdict,
                              int verdict_capacity);  // 8
int handover_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                    int result_capacity, wchar_t* verdict, int verdict_capacity);  // 9
int infusion_card_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                         int result_capacity, wchar_t* verdict, int verdict_capacity);  // 10
int lab_panels_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                      int result_capacity, wchar_t* verdict, int verdict_capacity);  // 11

// The follow-up plan counted from the given day number instead of today's
// local date; followup_plan_report calls it with today.
int followup_plan_from_day(long long today, const ToolDef* tool, const double* parameter_values,
                           wchar_t* result, int result_capacity, wchar_t* verdict,
                           int verdict_capacity);
