#include "engine/input_message.h"

#include "base/text.h"

namespace {

const wchar_t kNotNumberMessage[] = L"第 %d 项“%ls”请输入数字。";
const wchar_t kDecimalPointMessage[] = L"第 %d 项“%ls”请用“.”作小数点。";
const wchar_t kEmptyMessage[] = L"第 %d 项“%ls”未填写。";
const wchar_t kYesNoMessage[] = L"第 %d 项“%ls”请输入 1 或 0。";
const wchar_t kWholeRangeMessage[] = L"第 %d 项“%ls”请输入 %.15g 至 %.15g 之间的整数。";
const wchar_t kRangeMessage[] = L"第 %d 项“%ls”请输入 %.15g 至 %.15g 之间的数值。";

}  // namespace

void format_input_message(const ParameterDef* parameter, int number, ParameterInput verdict,
                          wchar_t* message, int capacity) {
  const ParameterRange& range = parameter->range;
  if (verdict == kParameterMissing)
    text_format(message, capacity, kEmptyMessage, number, parameter->label);
  else if (verdict == kParameterCommaForPoint)
    text_format(message, capacity, kDecimalPointMessage, number, parameter->label);
  else if (verdict != kParameterOutOfRange || !range.set)
    text_format(message, capacity, kNotNumberMessage, number, parameter->label);
  else if (range.whole_only && range.lowest == 0 && range.highest == 1)
    text_format(message, capacity, kYesNoMessage, number, parameter->label);
  else
    text_format(message, capacity, range.whole_only ? kWholeRangeMessage : kRangeMessage, number,
                parameter->label, range.lowest, range.highest);
}
