// Bounded wide text buffers: fixed-capacity, always NUL-terminated, never
// overrun. Capacities are counts of wchar_t characters; a buffer of capacity
// 0 holds no text and is neither read nor written.
//
// Every function here behaves the same on every platform: formatting does not
// go through the C library's wide printf (whose truncation and locale rules
// differ between runtimes) but through the locale-free number printers of
// number_text.h.
#pragma once

#include <cstdarg>

// Length of a NUL-terminated wide text; a null pointer counts as empty.
int text_length(const wchar_t* text);

// Makes the buffer empty.
void text_clear(wchar_t* buffer, int capacity);

// Copies src into the buffer, cut at capacity - 1 characters; the buffer's
// last character (index capacity - 1) is always set to NUL. A null src copies
// the empty text. Returns the resulting length.
int text_copy(wchar_t* buffer, int capacity, const wchar_t* src);

// The bounded-append rule: with n the current length, if n < capacity - 1,
// appends at most capacity - n - 1 characters of src and terminates;
// otherwise appends nothing. Returns the resulting length.
int text_append(wchar_t* buffer, int capacity, const wchar_t* src);

// Appends at most count characters of src (stopping early at a NUL) under the
// bounded-append rule.
int text_append_n(wchar_t* buffer, int capacity, const wchar_t* src, int count);

// Appends one character under the bounded-append rule.
int text_append_char(wchar_t* buffer, int capacity, wchar_t c);

// Appends narrow ASCII text, each byte widened to the same character.
int text_append_ascii(wchar_t* buffer, int capacity, const char* src);

// printf-style formatting into the buffer, cut at capacity - 1 characters and
// always terminated. Returns the resulting length.
//
// Conversions: %% ; %ls (const wchar_t*, null prints nothing) ; %s (const
// char*, ASCII) ; %c (a wide character, passed as int) ; %d (int) and %lld
// (long long), with an optional width and '0' flag ("%02d", "%04lld") ;
// %f and %g (double), with an optional precision ("%.2f", "%.6g"; %f defaults
// to 6 decimals, %g to 6 significant digits). A conversion outside this set
// is printed literally.
int text_format(wchar_t* buffer, int capacity, const wchar_t* format, ...);
int text_vformat(wchar_t* buffer, int capacity, const wchar_t* format, va_list args);
