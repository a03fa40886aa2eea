// The shape of a verification table: for each input item, the texts a
// person types and the points each is worth, and for each score the texts
// and level the program must show. The cases are every combination of one
// text per item; a case's expected score is the sum of its texts' points.
#pragma once

struct TypedPoints {
  const wchar_t* typed;  // the text as typed into the field
  int points;
};

struct ItemPoints {
  const char* key;  // the parameter the text is typed into
  const TypedPoints* rows;
  int row_count;
};

struct ScoreRow {
  int score;
  int level;
  const wchar_t* mortality;  // the mortality's value text
  const wchar_t* verdict;
};

struct ExpectedTable {
  const ItemPoints* items;
  int item_count;
  const char* score_output;      // key of the output that shows the score
  const char* mortality_output;  // key of the output that shows the mortality
  const ScoreRow* scores;
  int score_count;
};

// The ICH score as published: points per item, mortality per score.
const ExpectedTable* ich_expected_table();
