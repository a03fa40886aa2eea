// What a person typed for one parameter, read into its value or refused:
// the text must hold one whole number (the rule of input_number.h), be
// present (a missing value is never read as 0) and lie inside the
// parameter's range. The window reads its fields this way, and the
// verification runs its typed cases through the same rule.
#pragma once

#include "engine/tool.h"

enum ParameterInput {
  kParameterAccepted = 0,   // *value holds the number
  kParameterMissing,        // nothing but blanks, or no text
  kParameterUnreadable,     // not one whole number
  kParameterCommaForPoint,  // a number written with a decimal comma
  kParameterOutOfRange,     // a number the parameter does not accept
};

// Reads text by the rule above; *value is the number read (0 when there is
// none), whatever the result.
ParameterInput read_parameter_input(const ParameterDef* parameter, const wchar_t* text,
                                    double* value);
