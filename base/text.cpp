#include "base/text.h"

#include "base/number_text.h"

int text_length(const wchar_t* text) {
  if (!text) return 0;
  int n = 0;
  while (text[n]) ++n;
  return n;
}

void text_clear(wchar_t* buffer, int capacity) {
  if (capacity >= 1) buffer[0] = 0;
}

int text_copy(wchar_t* buffer, int capacity, const wchar_t* src) {
  if (capacity < 1) return 0;
  buffer[0] = 0;
  buffer[capacity - 1] = 0;
  return text_append(buffer, capacity, src);
}

int text_append_n(wchar_t* buffer, int capacity, const wchar_t* src, int count) {
  if (capacity < 1) return 0;  // holds no text, not even a terminator to read
  int n = text_length(buffer);
  if (!src || n >= capacity - 1) return n;
  int room = capacity - n - 1;
  for (int i = 0; i < count && i < room && src[i]; ++i) buffer[n++] = src[i];
  buffer[n] = 0;
  return n;
}

int text_append(wchar_t* buffer, int capacity, const wchar_t* src) {
  return text_append_n(buffer, capacity, src, capacity);
}

int text_append_char(wchar_t* buffer, int capacity, wchar_t c) {
  return text_append_n(buffer, capacity, &c, 1);
}

int text_append_ascii(wchar_t* buffer, int capacity, const char* src) {
  if (capacity < 1) return 0;
  int n = text_length(buffer);
  if (!src || n >= capacity - 1) return n;
  for (; *src && n < capacity - 1; ++src)
    buffer[n++] = static_cast<wchar_t>(static_cast<unsigned char>(*src));
  buffer[n] = 0;
  return n;
}

namespace {

// One conversion directive: %[0][width][.precision][l|ll]conversion.
struct Directive {
  bool zero_pad = false;
  int width = 0;
  int precision = -1;
  int longs = 0;
  wchar_t conversion = 0;
};

// Parses the directive after '%'; returns a pointer past it.
const wchar_t* parse_directive(const wchar_t* f, Directive* directive) {
  if (*f == L'0') {
    directive->zero_pad = true;
    ++f;
  }
  for (; *f >= L'0' && *f <= L'9'; ++f)
    if (directive->width < 1000) directive->width = directive->width * 10 + (*f - L'0');
  if (*f == L'.') {
    directive->precision = 0;
    for (++f; *f >= L'0' && *f <= L'9'; ++f)
      if (directive->precision < 1000)
        directive->precision = directive->precision * 10 + (*f - L'0');
  }
  for (; *f == L'l'; ++f) ++directive->longs;
  directive->conversion = *f;
  return *f ? f + 1 : f;
}

// Appends a narrow number text padded to the width (numbers only).
void append_padded(wchar_t* buffer, int capacity, const char* digits, int len,
                   const Directive& directive) {
  int pad = directive.width > len ? directive.width - len : 0;
  const char* body = digits;
  if (directive.zero_pad && pad > 0 && (*body == '-' || *body == '+'))
    text_append_char(buffer, capacity, static_cast<wchar_t>(*body++));
  for (int i = 0; i < pad; ++i)
    text_append_char(buffer, capacity, directive.zero_pad ? L'0' : L' ');
  text_append_ascii(buffer, capacity, body);
}

// Expands one directive with its argument; returns false for an
// unsupported conversion, which the caller then prints literally.
bool expand(wchar_t* buffer, int capacity, const Directive& directive, va_list* args) {
  char digits[512];
  switch (directive.conversion) {
    case L'%': text_append_char(buffer, capacity, L'%'); return true;
    case L's':
      if (directive.longs >= 1)
        text_append(buffer, capacity, va_arg(*args, const wchar_t*));
      else
        text_append_ascii(buffer, capacity, va_arg(*args, const char*));
      return true;
    case L'c':
      text_append_char(buffer, capacity, static_cast<wchar_t>(va_arg(*args, int)));
      return true;
    case L'd': {
      long long v = directive.longs >= 2   ? va_arg(*args, long long)
                    : directive.longs == 1 ? va_arg(*args, long)
                                           : va_arg(*args, int);
      int len = number_integer(digits, sizeof digits, v);
      append_padded(buffer, capacity, digits, len, directive);
      return true;
    }
    case L'f': {
      int len = number_fixed(digits, sizeof digits, va_arg(*args, double),
                             directive.precision < 0 ? 6 : directive.precision);
      append_padded(buffer, capacity, digits, len, directive);
      return true;
    }
    case L'g': {
      int len = number_general(digits, sizeof digits, va_arg(*args, double),
                               directive.precision < 0 ? 6 : directive.precision);
      append_padded(buffer, capacity, digits, len, directive);
      return true;
    }
    default: return false;
  }
}

}  // namespace

int text_vformat(wchar_t* buffer, int capacity, const wchar_t* format, va_list args) {
  if (capacity < 1) return 0;
  buffer[0] = 0;
  if (!format) return 0;
  va_list ap;
  va_copy(ap, args);
  for (const wchar_t* f = format; *f;) {
    if (*f != L'%') {
      const wchar_t* run = f;
      while (*f && *f != L'%') ++f;
      text_append_n(buffer, capacity, run, static_cast<int>(f - run));
      continue;
    }
    const wchar_t* start = f;
    Directive directive;
    f = parse_directive(f + 1, &directive);
    if (!expand(buffer, capacity, directive, &ap))
      text_append_n(buffer, capacity, start, static_cast<int>(f - start));
  }
  va_end(ap);
  return text_length(buffer);
}

// NOLINTNEXTLINE(cert-dcl50-cpp): printf-style on purpose, over the few conversions above.
int text_format(wchar_t* buffer, int capacity, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = text_vformat(buffer, capacity, format, args);
  va_end(args);
  return n;
}
