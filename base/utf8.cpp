#include "base/utf8.h"

namespace {

const unsigned long kReplacement = 0xFFFD;

// Reads one code point starting at text[i] (i < length) and returns how many
// wide characters it spans.
int next_code_point(const wchar_t* text, long i, long length, unsigned long* cp) {
  // Not a char: a negative 32-bit wchar_t becomes a value above U+10FFFF,
  // which is replaced below.
  // NOLINTNEXTLINE(bugprone-signed-char-misuse,cert-str34-c)
  unsigned long c = static_cast<unsigned long>(text[i]);
  if (sizeof(wchar_t) == 2) {
    c &= 0xFFFFu;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length) {
      unsigned long low = static_cast<unsigned long>(text[i + 1]) & 0xFFFFu;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        *cp = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        return 2;
      }
    }
  }
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
  *cp = c;
  return 1;
}

int encoded_size(unsigned long cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

long wide_length(const wchar_t* text) {
  long n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace

size_t utf8_encode(const wchar_t* text, long length, char* out, size_t capacity, long* consumed) {
  if (!text)
    length = 0;
  else if (length < 0)
    length = wide_length(text);
  size_t used = 0;
  long i = 0;
  while (i < length) {
    unsigned long cp = 0;
    int span = next_code_point(text, i, length, &cp);
    size_t size = static_cast<size_t>(encoded_size(cp));
    if (used + size > capacity) break;
    unsigned char* o = reinterpret_cast<unsigned char*>(out + used);
    switch (size) {
      case 1: o[0] = static_cast<unsigned char>(cp); break;
      case 2:
        o[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        o[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        break;
      case 3:
        o[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        o[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        break;
      default:
        o[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
        o[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        o[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        break;
    }
    used += size;
    i += span;
  }
  if (consumed) *consumed = i;
  return used;
}

namespace {

// Puts one code point into out at position n, as one or two wide characters.
int put_wide(wchar_t* out, int n, int capacity, unsigned long cp) {
  if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
    if (n + 2 > capacity - 1) return n;
    cp -= 0x10000;
    out[n++] = static_cast<wchar_t>(0xD800 + (cp >> 10));
    out[n++] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    return n;
  }
  if (n + 1 > capacity - 1) return n;
  out[n++] = static_cast<wchar_t>(cp);
  return n;
}

}  // namespace

int utf8_decode(const char* text, wchar_t* out, int capacity) {
  if (capacity <= 0) return 0;
  int n = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
  while (*p && n < capacity - 1) {
    unsigned long cp = *p;
    int extra = cp < 0x80           ? 0
                : (cp >> 5) == 0x6  ? 1
                : (cp >> 4) == 0xE  ? 2
                : (cp >> 3) == 0x1E ? 3
                                    : -1;
    if (extra < 0) {
      cp = kReplacement;
      ++p;
    } else {
      cp &= extra == 0 ? 0x7Fu : extra == 1 ? 0x1Fu : extra == 2 ? 0x0Fu : 0x07u;
      int k = 1;
      for (; k <= extra; ++k) {
        if ((p[k] & 0xC0) != 0x80) break;
        cp = (cp << 6) | (p[k] & 0x3Fu);
      }
      if (k <= extra) {
        cp = kReplacement;
        p += k;
      } else {
        p += extra + 1;
        static const unsigned long kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
      }
    }
    int before = n;
    n = put_wide(out, n, capacity, cp);
    if (n == before) break;
  }
  out[n] = 0;
  return n;
}
