// The shape of a verification table: everything a person reads off the
// calculator, written down on its own. For each input item the label and
// unit shown beside its field, and the texts typed into it with the points
// each is worth; for each score what the result box and the verdict line
// show; and cases typed once, each with its literal expectation.
//
// The grid cases are every combination of one grid row per item; a grid
// case's expected score is the sum of its rows' points. A single case gives
// its texts for all items and either its score or the refusal message.
#pragma once

#include "engine/tool.h"

struct TypedPoints {
  const wchar_t* typed;  // the text as typed into the field
  int points;
};

struct ItemPoints {
  const char* key;       // the parameter meant, for the reader only: items are found by label
  const wchar_t* label;  // the text of the label left of the field
  const wchar_t* unit;   // the text right of the field; empty when none is shown
  const TypedPoints* rows;
  int row_count;
};

// What the result box and the verdict line show: after a calculation that
// gave score, or (in ExpectedTable::no_result) while no result is shown.
struct ScoreRow {
  int score;
  const wchar_t* result;   // the result box's text exactly, line ends included
  const wchar_t* verdict;  // the verdict line's text
  int level;
  unsigned colour;  // the verdict line's text colour, 0xRRGGBB
};

// The score of a single case that the calculator must refuse.
constexpr int kRefusedCase = -1;

struct SingleCase {
  const wchar_t* typed[kMaxParameters];  // one text per item, in the table's item order;
                                         // a null text is typed as the empty text
  int score;                             // the expected score, or kRefusedCase
  const wchar_t* message;                // for a refused case, the message box's text
};

struct ExpectedTable {
  const ItemPoints* items;
  int item_count;
  const ScoreRow* scores;
  int score_count;
  ScoreRow no_result;  // the screen after a refusal: no result, the prompt
  const SingleCase* singles;
  int single_count;
};

// The ICH score's table: points and mortality as published, the screen's
// texts, levels and colours as the program defines them.
const ExpectedTable* ich_expected_table();
