// The floor any single-pass evaluator stands on: one pass over a formula
// that only splits it into tokens by the evaluator's rules (white space,
// numbers, names looked up among the tool's keys, one- and two-character
// operators), with no grammar and no arithmetic.
#pragma once

#include "engine/tool.h"

struct LexSummary {
  int tokens;       // tokens read
  double literals;  // sum of the number literals, so that none is skipped
  int keys;         // sum of the index + 1 of every key a name found
  bool whole;       // every character belongs to a token and every name is a key
};

LexSummary lex_formula(const ToolDef* tool, const char* formula);
