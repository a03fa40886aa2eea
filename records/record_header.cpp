#include "records/record_header.h"

#include <cstring>

#include "records/record_text.h"

namespace {

// The end of the CSV cell that starts at p, in a line that ends at end: the
// next comma outside double quotes, or end.
const char* cell_end(const char* p, const char* end) {
  bool inside = p < end && *p == '"';
  for (p += inside ? 1 : 0; p < end; ++p) {
    if (*p == '"' && inside) {
      inside = p + 1 < end && p[1] == '"';
      if (inside) ++p;
    } else if (*p == ',' && !inside) {
      break;
    }
  }
  return p;
}

// Walks the cells of a line one by one.
struct CellCursor {
  const char* at;  // where the next cell starts; null past the last one
  const char* end;
};

struct Cell {
  const char* start;
  std::size_t bytes;
};

bool take_cell(CellCursor* cursor, Cell* cell) {
  if (!cursor->at) return false;
  const char* stop = cell_end(cursor->at, cursor->end);
  *cell = {cursor->at, static_cast<std::size_t>(stop - cursor->at)};
  cursor->at = stop < cursor->end ? stop + 1 : nullptr;
  return true;
}

bool same_cell(const Cell& a, const Cell& b) {
  return a.bytes == b.bytes && std::memcmp(a.start, b.start, a.bytes) == 0;
}

// Whether line (without its line end) is a header line this tool's saves
// wrote: own (the current header line) cell for cell, byte for byte, or,
// as a version of the tool with fewer parameters wrote it, with some of
// the parameter columns left out, the others in their order. A cell that
// another program quoted, or any other column, is not ours.
bool is_own_header(const char* line, const char* line_end, const char* own, const char* own_end) {
  CellCursor in_file = {line, line_end};
  CellCursor in_own = {own, own_end};
  Cell cell;
  Cell column;
  int columns = 0;
  while (take_cell(&in_file, &cell)) {
    for (;;) {
      if (!take_cell(&in_own, &column)) return false;
      ++columns;
      if (same_cell(cell, column)) break;
      if (columns <= 2) return false;  // 时间 and 工具 are never left out
    }
  }
  // The last cell was the last column, 结果.
  return !take_cell(&in_own, &column);
}

}  // namespace

bool record_starts_with_header(const char* text, const char* end, const char* head,
                               std::size_t head_bytes) {
  const char* line_end =
      static_cast<const char*>(std::memchr(text, '\n', static_cast<std::size_t>(end - text)));
  if (!line_end) return false;
  if (line_end > text && line_end[-1] == '\r') --line_end;
  return is_own_header(text, line_end, head + sizeof kRecordByteOrderMark, head + head_bytes - 2);
}
