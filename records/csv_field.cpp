#include "records/csv_field.h"

namespace {

bool is_special(wchar_t c) { return c == L',' || c == L'"' || c == L'\r' || c == L'\n'; }

// Writes text with each double quote doubled, in runs between the quotes.
void put_escaped(Utf8Sink* sink, const wchar_t* text) {
  while (text[0]) {
    long run = 0;
    while (text[run] && text[run] != L'"') ++run;
    sink_put_text(sink, text, run);
    text += run;
    if (text[0] == L'"') {
      sink_put_bytes(sink, "\"\"", 2);
      ++text;
    }
  }
}

}  // namespace

bool csv_needs_quotes(const wchar_t* const* parts, int count) {
  for (int i = 0; i < count; ++i)
    for (const wchar_t* c = parts[i]; *c; ++c)
      if (is_special(*c)) return true;
  return false;
}

void csv_put_field(Utf8Sink* sink, const wchar_t* const* parts, int count) {
  if (!csv_needs_quotes(parts, count)) {
    for (int i = 0; i < count; ++i) sink_put_text(sink, parts[i], -1);
    return;
  }
  sink_put_bytes(sink, "\"", 1);
  for (int i = 0; i < count; ++i) put_escaped(sink, parts[i]);
  sink_put_bytes(sink, "\"", 1);
}

void csv_put_text_field(Utf8Sink* sink, const wchar_t* text) { csv_put_field(sink, &text, 1); }
