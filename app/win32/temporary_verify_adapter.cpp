// TEMPORARY, see the header: binds each item by its parameter's label, types
// every case of the table into the screen and calculates it, so that the
// window is driven as the verification will drive it, then writes today's
// report, which does not yet read the screen.
#include "app/win32/temporary_verify_adapter.h"

#include "verify/verify_screen.h"

namespace {

bool next_rows(const ExpectedTable* table, int* rows) {
  for (int k = table->item_count - 1; k >= 0; --k) {
    if (++rows[k] < table->items[k].row_count) return true;
    rows[k] = 0;
  }
  return false;
}

}  // namespace

int write_verify_report(const ToolDef* tool, const ExpectedTable* table, const VerifyScreen* screen,
                        const wchar_t* path) {
  if (table->item_count > kMaxParameters) return kVerifyDisagreed;
  for (int k = 0; k < table->item_count; ++k) {
    const int i = find_parameter(tool, table->items[k].key);
    wchar_t unit[kShownNameCapacity];
    if (i < 0 ||
        !screen->bind_item(screen->context, k, tool->parameters[i].label, unit, kShownNameCapacity))
      return kVerifyDisagreed;
  }
  int rows[kMaxParameters] = {};
  do {
    const wchar_t* typed[kMaxParameters] = {};
    for (int k = 0; k < table->item_count; ++k) typed[k] = table->items[k].rows[rows[k]].typed;
    ShownCase shown;
    screen->run_case(screen->context, table->item_count, typed, &shown);
  } while (next_rows(table, rows));
  return write_verify_report(tool, table, path);
}
