#include "verify/portable_screen.h"

#include <cwchar>

#include "app/verdict_line.h"
#include "base/text.h"
#include "engine/input_message.h"
#include "engine/parameter_input.h"

namespace {

bool bind_item(void* context, int item, const wchar_t* label, wchar_t* unit, int unit_capacity) {
  auto* state = static_cast<PortableScreen*>(context);
  text_clear(unit, unit_capacity);
  state->parameter_of_item[item] = -1;
  const ToolDef* tool = state->tool;
  for (int i = 0; i < tool->parameter_count; ++i) {
    if (std::wcscmp(tool->parameters[i].label, label) != 0) continue;
    state->parameter_of_item[item] = i;
    text_copy(unit, unit_capacity, tool->parameters[i].unit);
    return true;
  }
  return false;
}

// What the window shows once it has dropped its result.
void show_no_result(ShownCase* shown) {
  text_clear(shown->result, kShownResultCapacity);
  text_copy(shown->verdict, kShownVerdictCapacity, kVerdictPrompt);
  shown->level = 0;
  shown->colour = verdict_colour_rgb(0);
}

void run_case(void* context, int item_count, const wchar_t* const* typed, ShownCase* shown) {
  const auto* state = static_cast<const PortableScreen*>(context);
  const ToolDef* tool = state->tool;
  // Each field holds the text of the item bound to it (every item is bound
  // before a case runs); the others are empty.
  const wchar_t* field[kMaxParameters] = {};
  for (int k = 0; k < item_count; ++k) field[state->parameter_of_item[k]] = typed[k];
  text_clear(shown->message, kShownMessageCapacity);
  double values[kMaxParameters] = {};
  for (int i = 0; i < tool->parameter_count; ++i) {
    const ParameterInput verdict = read_parameter_input(&tool->parameters[i], field[i], &values[i]);
    if (verdict != kParameterAccepted) {
      format_input_message(&tool->parameters[i], i + 1, verdict, shown->message,
                           kShownMessageCapacity);
      show_no_result(shown);
      return;
    }
  }
  wchar_t detail[kShownDetailCapacity];
  run_calculation(tool, values, shown->result, kShownResultCapacity, shown->verdict,
                  kShownVerdictCapacity, &shown->level, detail, kShownDetailCapacity);
  shown->colour = verdict_colour_rgb(shown->level);
}

}  // namespace

VerifyScreen portable_screen(const ToolDef* tool, PortableScreen* state) {
  state->tool = tool;
  for (int& parameter : state->parameter_of_item) parameter = -1;
  return {state, bind_item, run_case};
}
