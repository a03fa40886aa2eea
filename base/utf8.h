// UTF-8 conversion of wide texts, for both widths of wchar_t: UTF-16 on
// Windows (surrogate pairs combined; an unpaired surrogate becomes U+FFFD) and
// UTF-32 on Linux (values beyond U+10FFFF or in the surrogate range become
// U+FFFD).
#pragma once

#include <cstddef>

// Converts up to length wide characters (length < 0: up to the terminating
// NUL, which is not converted) and writes at most capacity bytes. Returns the
// number of bytes written; *consumed (when not null) receives the number of
// wide characters converted. Stops early, without splitting a character,
// when the next character's bytes do not fit, so a long text can be
// converted in pieces.
size_t utf8_encode(const wchar_t* text, long length, char* out, size_t capacity, long* consumed);

// Decodes UTF-8 into a wide text, cut at capacity - 1 characters and
// terminated. Malformed sequences become U+FFFD. Returns the wide length.
int utf8_decode(const char* text, wchar_t* out, int capacity);
