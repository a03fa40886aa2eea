// CSV fields as spreadsheets read them: a field holding a comma, a double
// quote, CR or LF is enclosed in double quotes with each inner double quote
// doubled; every other field is written exactly as it stands.
#pragma once

#include "records/utf8_sink.h"

// Every text passed here is non-null: labels, titles and the detail text
// always are.

// Whether a field made of these texts needs the enclosing quotes.
bool csv_needs_quotes(const wchar_t* const* parts, int count);

// Writes one field whose content is the concatenation of count texts (a
// label, "=" and a value, say), quoted as a whole when any part needs it.
void csv_put_field(Utf8Sink* sink, const wchar_t* const* parts, int count);

// Writes a field of one text.
void csv_put_text_field(Utf8Sink* sink, const wchar_t* text);
