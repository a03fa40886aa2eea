// The formula language: a recursive-descent evaluator that computes while it
// parses, in one pass, in double precision, with no allocation and no state
// between calls.
#pragma once

#include "engine/tool.h"

// Deepest nesting a formula may use, in levels: the formula itself takes two,
// each prefix operator, power and conditional branch one more, and each
// parenthesis or function call two (its operand and the conditional inside
// it), so at most 99 parentheses nest. Deeper text fails with the error flag.
constexpr int kMaxFormulaDepth = 200;

// Evaluates formula against the tool's parameter and output keys. Writes
// *error: 0 on success, 1 on failure. The value is defined in both cases and
// is finite whenever *error is 0. A null or empty formula fails with 0.
double evaluate_formula(const ToolDef* tool, const char* formula, const double* parameter_values,
                        const double* output_values, int* error);
