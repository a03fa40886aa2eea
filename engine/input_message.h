// The message the calculate command shows when it refuses what was typed for
// an item: the item's number (from 1) and label, then what the item accepts.
// The window shows it in its message box; the verification compares it with
// the text its table expects.
#pragma once

#include "engine/parameter_input.h"
#include "engine/tool.h"

// Capacity of a refusal message, in characters.
constexpr int kInputMessageCapacity = 256;

// Writes the message for parameter, shown as item number, refused with
// verdict (any value but kParameterAccepted) into message.
void format_input_message(const ParameterDef* parameter, int number, ParameterInput verdict,
                          wchar_t* message, int capacity);
