// Kind 1, nurse rota: a three-shift rotation in which every nurse moves one
// step back in the order day, night, rest from one day to the next.
#include "base/text.h"
#include "reports/report_generators.h"
#include "reports/report_lines.h"

namespace {

constexpr int kMostNurses = 40;
constexpr int kMostRotaDays = 31;

const wchar_t kRotaRule[] =
    L"排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。";
const wchar_t kRotaStaffFormat[] = L"人员：%d 人；周期：%d 天";
const wchar_t kNurseNameFormat[] = L"护士%02d";
const wchar_t kNurseLineFormat[] = L"%ls：";
const wchar_t kRotaDayFormat[] = L"%d日%c ";
const wchar_t kRotaHint[] =
    L"提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。";
const wchar_t kRotaVerdict[] = L"已生成轮转排班表，可复制到排班本或表格";

// Day shift, night shift, rest.
const wchar_t kShiftLetters[3] = {L'D', L'N', L'R'};

void append_nurse(wchar_t* result, int capacity, int nurse, int days) {
  wchar_t name[12];
  text_format(name, 12, kNurseNameFormat, nurse + 1);
  append_report_line_format(result, capacity, kNurseLineFormat, name);
  text_append(result, capacity, L"  ");
  for (int day = 0; day < days; ++day) {
    wchar_t entry[16];
    text_format(entry, 16, kRotaDayFormat, day + 1,
                static_cast<int>(kShiftLetters[(nurse + 2 * day) % 3]));
    text_append(result, capacity, entry);
  }
  text_append(result, capacity, L"\r\n");
}

}  // namespace

int nurse_rota_report(const ToolDef* tool, const double* parameter_values, wchar_t* result,
                      int result_capacity, wchar_t* verdict, int verdict_capacity) {
  int nurses =
      clamp_report_integer(report_integer_input(tool, parameter_values, "nurses"), 1, kMostNurses);
  int days =
      clamp_report_integer(report_integer_input(tool, parameter_values, "days"), 1, kMostRotaDays);
  append_report_line(result, result_capacity, kRotaRule);
  append_report_line_format(result, result_capacity, kRotaStaffFormat, nurses, days);
  append_report_line(result, result_capacity, L"");
  for (int nurse = 0; nurse < nurses; ++nurse) append_nurse(result, result_capacity, nurse, days);
  append_report_line(result, result_capacity, L"");
  append_report_line(result, result_capacity, kRotaHint);
  text_copy(verdict, verdict_capacity, kRotaVerdict);
  return 0;
}
