// Bounded wide text buffers: the bounded-append rule, cuts at capacity - 1,
// and every conversion of the formatter.
#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <limits>
#include <memory>
#include <string>

#include "base/text.h"

namespace {

// `capacity` characters and one guard cell past them on the heap, each '#' to
// begin with (and then the start text, if any). A write one past the
// capacity changes the guard, which every build sees (the Windows build has
// no AddressSanitizer); AddressSanitizer reports a write further on, and a
// text left without its terminator is read past the end.
struct Buffer {
  int capacity;
  std::unique_ptr<wchar_t[]> chars;
  explicit Buffer(int size, const wchar_t* start = nullptr)
      : capacity(size), chars(new wchar_t[static_cast<size_t>(size) + 1]) {
    for (int i = 0; i <= capacity; ++i) chars[i] = L'#';
    if (start) std::wcscpy(chars.get(), start);
  }
  std::wstring text() const { return capacity > 0 ? chars.get() : L""; }
  bool guard_intact() const { return chars[capacity] == L'#'; }
};

TEST(Text, LengthCountsToTheTerminator) {
  EXPECT_EQ(0, text_length(nullptr));
  EXPECT_EQ(0, text_length(L""));
  EXPECT_EQ(3, text_length(L"脑出血"));
}

int clear(wchar_t* buffer, int capacity, const wchar_t*) {
  text_clear(buffer, capacity);
  return 0;
}

// Capacity 0 holds nothing and is never written; 1 holds only the
// terminator.
TEST(Text, CopyCutsAtCapacityMinusOne) {
  struct Case {
    int (*write)(wchar_t*, int, const wchar_t*);
    const wchar_t* src;
    int capacity;
    const wchar_t* expected;
  } cases[] = {
      {text_copy, L"abcdef", 0, L""},    {text_copy, L"abcdef", 1, L""},
      {text_copy, L"abcdef", 4, L"abc"}, {text_copy, L"abc", 3, L"ab"},
      {text_copy, L"abc", 4, L"abc"},    {text_copy, L"abc", 10, L"abc"},
      {text_copy, nullptr, 5, L""},      {text_copy, L"评分结果", 3, L"评分"},
      {clear, nullptr, 0, L""},          {clear, nullptr, 1, L""},
  };
  for (const Case& c : cases) {
    Buffer b(c.capacity);
    int n = c.write(b.chars.get(), c.capacity, c.src);
    EXPECT_EQ(std::wstring(c.expected), b.text()) << "capacity " << c.capacity;
    EXPECT_EQ(text_length(c.expected), n);
    EXPECT_TRUE(b.guard_intact()) << "capacity " << c.capacity;
  }
}

enum class Append { kText, kTwo, kChar, kAscii };

// Appends src the given way: whole, at most two characters of it, its first
// character alone, or as narrow text (each character taken as one byte).
int append(Append how, wchar_t* buffer, int capacity, const wchar_t* src) {
  switch (how) {
    case Append::kText: return text_append(buffer, capacity, src);
    case Append::kTwo: return text_append_n(buffer, capacity, src, 2);
    case Append::kChar: return text_append_char(buffer, capacity, src[0]);
    case Append::kAscii: break;
  }
  if (!src) return text_append_ascii(buffer, capacity, nullptr);
  std::string narrow;
  for (const wchar_t* p = src; *p; ++p) narrow += static_cast<char>(*p);
  return text_append_ascii(buffer, capacity, narrow.c_str());
}

// With n the current length: if n < capacity - 1 at most capacity - n - 1
// characters are appended, otherwise nothing.
TEST(Text, AppendFollowsTheBoundedAppendRule) {
  struct Case {
    Append how;
    const wchar_t* start;
    const wchar_t* src;
    int capacity;
    const wchar_t* expected;
  } cases[] = {
      {Append::kText, L"abc", L"defgh", 6, L"abcde"},
      {Append::kText, L"abc", L"d", 4, L"abc"},
      {Append::kText, L"abc", L"def", 5, L"abcd"},
      {Append::kText, L"abc", L"de", 6, L"abcde"},
      {Append::kText, L"", L"xyz", 0, L""},
      {Append::kText, L"", L"xyz", 1, L""},
      {Append::kText, L"", L"xyz", 2, L"x"},
      {Append::kText, L"ab", L"", 8, L"ab"},
      {Append::kText, L"ab", nullptr, 8, L"ab"},
      {Append::kText, L"abc", L"de", 32, L"abcde"},
      {Append::kTwo, L"ab", L"cdef", 10, L"abcd"},
      {Append::kTwo, L"ab", L"cdef", 5, L"abcd"},
      {Append::kTwo, L"ab", L"cdef", 4, L"abc"},
      {Append::kTwo, L"ab", L"e\0zz", 10, L"abe"},  // stops at the NUL
      {Append::kTwo, L"", L"cd", 0, L""},
      {Append::kChar, L"ab", L"评", 4, L"ab评"},
      {Append::kChar, L"ab", L"评", 3, L"ab"},
      {Append::kChar, L"", L"评", 0, L""},
      {Append::kChar, L"", L"评", 1, L""},
      {Append::kAscii, L"评", L"0.5%", 6, L"评0.5%"},
      {Append::kAscii, L"评", L"0.5%", 5, L"评0.5"},
      {Append::kAscii, L"ab", L"c", 3, L"ab"},
      {Append::kAscii, L"", L"xyz", 0, L""},
      {Append::kAscii, L"", L"xyz", 1, L""},
      {Append::kAscii, L"ab", nullptr, 8, L"ab"},
      {Append::kAscii, L"", L"\xe4", 2, L"\xe4"},  // a high byte widens unsigned
  };
  for (const Case& c : cases) {
    Buffer b(c.capacity, c.capacity > 0 ? c.start : nullptr);
    int n = append(c.how, b.chars.get(), c.capacity, c.src);
    EXPECT_EQ(std::wstring(c.expected), b.text())
        << "way " << static_cast<int>(c.how) << ", capacity " << c.capacity;
    EXPECT_EQ(text_length(c.expected), n);
    EXPECT_TRUE(b.guard_intact()) << "way " << static_cast<int>(c.how) << ", capacity "
                                  << c.capacity;
  }
}

std::wstring fmt(const wchar_t* format, ...) {
  wchar_t buffer[256];
  va_list args;
  va_start(args, format);
  text_vformat(buffer, 256, format, args);
  va_end(args);
  return buffer;
}

TEST(TextFormat, IntegerConversions) {
  EXPECT_EQ(L"42", fmt(L"%d", 42));
  EXPECT_EQ(L"-42", fmt(L"%d", -42));
  EXPECT_EQ(L"  5", fmt(L"%3d", 5));
  EXPECT_EQ(L"05", fmt(L"%02d", 5));
  EXPECT_EQ(L"123", fmt(L"%02d", 123));
  EXPECT_EQ(L"-0042", fmt(L"%05d", -42));
  EXPECT_EQ(L"-2147483648", fmt(L"%d", INT_MIN));
  EXPECT_EQ(L"-001", fmt(L"%04lld", -1LL));
  EXPECT_EQ(L"0000", fmt(L"%04lld", 0LL));
  EXPECT_EQ(L"10000", fmt(L"%04lld", 10000LL));
  EXPECT_EQ(L"-9223372036854775808", fmt(L"%lld", LLONG_MIN));
  EXPECT_EQ(L"9223372036854775807", fmt(L"%lld", LLONG_MAX));
  EXPECT_EQ(L"-7", fmt(L"%ld", -7L));
  EXPECT_EQ(L"T148", fmt(L"T%03d", 148));
  EXPECT_EQ(L"T007", fmt(L"T%03d", 7));
}

TEST(TextFormat, FixedConversions) {
  EXPECT_EQ(L"1.500000", fmt(L"%f", 1.5));
  EXPECT_EQ(L"2.67", fmt(L"%.2f", 2.675));
  EXPECT_EQ(L"0.12", fmt(L"%.2f", 0.125));
  EXPECT_EQ(L"0", fmt(L"%.0f", 0.5));
  EXPECT_EQ(L"2", fmt(L"%.0f", 2.5));
  EXPECT_EQ(L"4", fmt(L"%.0f", 3.5));
  EXPECT_EQ(L"-0", fmt(L"%.0f", -0.4));
  EXPECT_EQ(L"0.1000000000000000055511151231257827", fmt(L"%.34f", 0.1));
  EXPECT_EQ(L"inf", fmt(L"%.1f", std::numeric_limits<double>::infinity()));
  EXPECT_EQ(L"-inf", fmt(L"%.1f", -std::numeric_limits<double>::infinity()));
  EXPECT_EQ(L"-inf", fmt(L"%f", -std::numeric_limits<double>::infinity()));
}

TEST(TextFormat, GeneralConversions) {
  EXPECT_EQ(L"12", fmt(L"%g", 12.0));
  EXPECT_EQ(L"0.5", fmt(L"%g", 0.5));
  EXPECT_EQ(L"2.5e+07", fmt(L"%g", 2.5e7));
  EXPECT_EQ(L"1e-05", fmt(L"%g", 1e-5));
  EXPECT_EQ(L"0.0001", fmt(L"%g", 1e-4));
  EXPECT_EQ(L"1.23457e+06", fmt(L"%g", 1234567.0));
  EXPECT_EQ(L"100000", fmt(L"%g", 100000.0));
  EXPECT_EQ(L"1e+06", fmt(L"%g", 1e6));
  EXPECT_EQ(L"3.14", fmt(L"%.3g", 3.14159));
  EXPECT_EQ(L"0", fmt(L"%g", 0.0));
  EXPECT_EQ(L"-0", fmt(L"%g", -0.0));
  EXPECT_EQ(L"1e+100", fmt(L"%g", 1e100));
  EXPECT_EQ(L"2", fmt(L"%.0g", 2.0));
  EXPECT_EQ(L"inf", fmt(L"%g", std::numeric_limits<double>::infinity()));
  EXPECT_EQ(L"-inf", fmt(L"%g", -std::numeric_limits<double>::infinity()));
  EXPECT_EQ(L"-inf", fmt(L"%.3g", -std::numeric_limits<double>::infinity()));
  // Precisions are capped where the work text ends: 40 digits, 60 decimals.
  EXPECT_EQ(fmt(L"%.40g", 0.1), fmt(L"%.50g", 0.1));
  EXPECT_EQ(fmt(L"%.60f", 0.1), fmt(L"%.70f", 0.1));
}

TEST(TextFormat, TextConversionsAndLiterals) {
  EXPECT_EQ(L"ICH 评分：1 分", fmt(L"%ls：%d %ls", L"ICH 评分", 1, L"分"));
  EXPECT_EQ(L"[]", fmt(L"[%ls]", static_cast<const wchar_t*>(nullptr)));
  EXPECT_EQ(L"f0", fmt(L"%s", "f0"));
  EXPECT_EQ(L"x评y", fmt(L"x%cy", static_cast<int>(L'评')));
  EXPECT_EQ(L"13.0%", fmt(L"%.1f%%", 13.0));
  EXPECT_EQ(L"%x", fmt(L"%x", 5));  // unsupported: printed literally
  EXPECT_EQ(L"100%", fmt(L"100%"));
  EXPECT_EQ(L"|a|\r\n", fmt(L"|%ls|\r\n", L"a"));
}

TEST(TextFormat, CutsAtCapacityMinusOne) {
  struct Case {
    int capacity;
    const wchar_t* expected;
  } cases[] = {{0, L""},
               {1, L""},
               {2, L"T"},
               {5, L"TOOL"},
               {6, L"TOOL|"},
               {8, L"TOOL|14"},
               {9, L"TOOL|148"},
               {12, L"TOOL|148|IC"},
               {13, L"TOOL|148|ICH"},
               {32, L"TOOL|148|ICH"}};
  for (const Case& c : cases) {
    Buffer b(c.capacity);
    int n = text_format(b.chars.get(), c.capacity, L"TOOL|%d|%ls", 148, L"ICH");
    EXPECT_EQ(std::wstring(c.expected), b.text()) << "capacity " << c.capacity;
    EXPECT_EQ(text_length(c.expected), n);
    EXPECT_TRUE(b.guard_intact()) << "capacity " << c.capacity;
  }
}

}  // namespace
