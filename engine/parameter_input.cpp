#include "engine/parameter_input.h"

#include "engine/input_number.h"

ParameterInput read_parameter_input(const ParameterDef* parameter, const wchar_t* text,
                                    double* value) {
  switch (input_number_read(text, value)) {
    case kInputEmpty: return kParameterMissing;
    case kInputNotNumber: return kParameterUnreadable;
    case kInputDecimalComma: return kParameterCommaForPoint;
    case kInputNumber: break;
  }
  return parameter_accepts(parameter, *value) ? kParameterAccepted : kParameterOutOfRange;
}
