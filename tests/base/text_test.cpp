// Bounded wide text buffers: the bounded-append rule, cuts at capacity - 1,
// and every conversion of the formatter.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

#include "base/text.h"

namespace {

// A buffer of 32 characters filled with '#', so that writes past the
// capacity under test show.
struct Buffer {
  wchar_t chars[32];
  Buffer() {
    for (wchar_t& c : chars) c = L'#';
  }
  void set(const wchar_t* text) {
    int i = 0;
    for (; text[i]; ++i) chars[i] = text[i];
    chars[i] = 0;
  }
  std::wstring text() const { return chars; }
  bool untouched_from(int index) const {
    for (int i = index; i < 32; ++i)
      if (chars[i] != L'#') return false;
    return true;
  }
};

TEST(Text, LengthCountsToTheTerminator) {
  EXPECT_EQ(0, text_length(nullptr));
  EXPECT_EQ(0, text_length(L""));
  EXPECT_EQ(3, text_length(L"脑出血"));
}

TEST(Text, CopyCutsAtCapacityMinusOne) {
  struct Case {
    const wchar_t* src;
    int capacity;
    const wchar_t* expected;
  } cases[] = {{L"abcdef", 1, L""},  {L"abcdef", 4, L"abc"}, {L"abc", 4, L"abc"},
               {L"abc", 10, L"abc"}, {nullptr, 5, L""},      {L"评分结果", 3, L"评分"}};
  for (const Case& c : cases) {
    Buffer b;
    int n = text_copy(b.chars, c.capacity, c.src);
    EXPECT_EQ(std::wstring(c.expected), b.text());
    EXPECT_EQ(text_length(c.expected), n);
    EXPECT_TRUE(b.untouched_from(c.capacity)) << "capacity " << c.capacity;
  }
}

// With n the current length: if n < capacity - 1 at most capacity - n - 1
// characters are appended, otherwise nothing.
TEST(Text, AppendFollowsTheBoundedAppendRule) {
  struct Case {
    const wchar_t* start;
    const wchar_t* src;
    int capacity;
    const wchar_t* expected;
  } cases[] = {
      {L"abc", L"defgh", 6, L"abcde"}, {L"abc", L"d", 4, L"abc"},     {L"abc", L"def", 5, L"abcd"},
      {L"", L"xyz", 1, L""},           {L"", L"xyz", 2, L"x"},        {L"ab", L"", 8, L"ab"},
      {L"ab", nullptr, 8, L"ab"},      {L"abc", L"de", 32, L"abcde"},
  };
  for (const Case& c : cases) {
    Buffer b;
    b.set(c.start);
    int n = text_append(b.chars, c.capacity, c.src);
    EXPECT_EQ(std::wstring(c.expected), b.text()) << "capacity " << c.capacity;
    EXPECT_EQ(text_length(c.expected), n);
    EXPECT_TRUE(b.untouched_from(c.capacity > text_length(c.start) + 1 ? c.capacity
                                                                       : text_length(c.start) + 1));
  }
}

TEST(Text, AppendNAppendCharAndAppendAscii) {
  Buffer b;
  b.set(L"ab");
  EXPECT_EQ(4, text_append_n(b.chars, 10, L"cdef", 2));
  EXPECT_EQ(L"abcd", b.text());
  EXPECT_EQ(5, text_append_n(b.chars, 10, L"e\0zz", 4));  // stops at the NUL
  EXPECT_EQ(L"abcde", b.text());
  EXPECT_EQ(6, text_append_char(b.chars, 10, L'评'));
  EXPECT_EQ(L"abcde评", b.text());
  EXPECT_EQ(9, text_append_ascii(b.chars, 10, "0.5%xyz"));
  EXPECT_EQ(L"abcde评0.5", b.text());
  EXPECT_EQ(9, text_append_char(b.chars, 10, L'!'));  // full: n == capacity - 1
  EXPECT_EQ(L"abcde评0.5", b.text());
  EXPECT_TRUE(b.untouched_from(10));
  Buffer high;
  high.set(L"");
  text_append_ascii(high.chars, 8, "\xe4");
  EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(0xE4)), high.text());
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
  } cases[] = {{1, L""},        {2, L"T"},        {5, L"TOOL"},         {6, L"TOOL|"},
               {8, L"TOOL|14"}, {9, L"TOOL|148"}, {12, L"TOOL|148|IC"}, {32, L"TOOL|148|ICH"}};
  for (const Case& c : cases) {
    Buffer b;
    int n = text_format(b.chars, c.capacity, L"TOOL|%d|%ls", 148, L"ICH");
    EXPECT_EQ(std::wstring(c.expected), b.text()) << "capacity " << c.capacity;
    EXPECT_EQ(text_length(c.expected), n);
    EXPECT_TRUE(b.untouched_from(c.capacity)) << "capacity " << c.capacity;
  }
}

}  // namespace
