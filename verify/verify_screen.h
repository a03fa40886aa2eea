// What the verification reads off a calculator, as a person reads it: the
// label and unit beside each field, and after typing one case and pressing
// F5 the result box, the verdict line with its colour, and the text of any
// message box. The Windows program drives its real (hidden) window through
// this seam; the native build answers through the portable road that the
// window stands on.
#pragma once

#include "engine/calculation.h"

// Capacity of a label, a unit or a typed text as the verification reads it.
constexpr int kShownNameCapacity = 64;
// Capacity of a message box's text.
constexpr int kShownMessageCapacity = 256;

// What the calculator showed after one case was typed and calculated.
struct ShownCase {
  wchar_t result[kShownResultCapacity];    // the result box's text
  wchar_t verdict[kShownVerdictCapacity];  // the verdict line's text
  int level;                               // the level the verdict line is coloured by
  unsigned colour;                         // the verdict line's text colour, 0xRRGGBB
  wchar_t message[kShownMessageCapacity];  // the message box's text; empty when none was shown
};

struct VerifyScreen {
  void* context;
  // Finds the field of table item `item` as a person would: the field on the
  // row of the label whose text is `label`. Binds the item to that field for
  // run_case and writes the unit shown after the field into unit (empty when
  // the row shows none). False, with unit empty, when no label reads so or
  // no field stands on its row.
  bool (*bind_item)(void* context, int item, const wchar_t* label, wchar_t* unit,
                    int unit_capacity);
  // Types typed[k] into the field bound to item k (for k below item_count),
  // empties every field no item is bound to, calculates as F5 does, and reads
  // back what is then shown. Called only after every item was bound.
  void (*run_case)(void* context, int item_count, const wchar_t* const* typed, ShownCase* shown);
};
