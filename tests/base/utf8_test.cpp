// UTF-8 conversion for both widths of wchar_t: surrogate pairs (16-bit) and
// astral code points (32-bit) give the same bytes, unpaired surrogates become
// U+FFFD, and piecewise encoding never splits a character.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/utf8.h"

namespace {

std::string encode(const std::wstring& text) {
  char out[256];
  long consumed = -1;
  size_t n = utf8_encode(text.c_str(), static_cast<long>(text.size()), out, sizeof out, &consumed);
  EXPECT_EQ(static_cast<long>(text.size()), consumed);
  return std::string(out, n);
}

// A wide text from code units; on a 32-bit wchar_t a value above 0xFFFF is
// one unit, on a 16-bit one the caller passes the surrogates.
std::wstring units(std::initializer_list<unsigned long> list) {
  std::wstring text;
  for (unsigned long u : list) text += static_cast<wchar_t>(u);
  return text;
}

TEST(Utf8, EncodesBmpText) {
  EXPECT_EQ("", encode(L""));
  EXPECT_EQ("abc|\r\n", encode(L"abc|\r\n"));
  EXPECT_EQ("\xe8\x84\x91\xe5\x87\xba\xe8\xa1\x80", encode(L"脑出血"));
  EXPECT_EQ("ICH 评分：1 分", encode(L"ICH 评分：1 分"));
  EXPECT_EQ("\xc2\xa0\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf",
            encode(units({0xA0, 0x7FF, 0x800, 0xFFFF})));
}

TEST(Utf8, EncodesAstralCodePoints) {
  // The literal is a surrogate pair on 16-bit wchar_t, one unit on 32-bit.
  EXPECT_EQ("\xf0\x9f\x98\x80", encode(L"\U0001F600"));
  EXPECT_EQ("a\xf0\x90\x80\x80z\xf4\x8f\xbf\xbf", encode(L"a\U00010000z\U0010FFFF"));
}

TEST(Utf8, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::string fffd = "\xef\xbf\xbd";
  EXPECT_EQ(fffd + "a", encode(units({0xD800, 'a'})));
  EXPECT_EQ(fffd, encode(units({0xD83D})));
  EXPECT_EQ(fffd + "b", encode(units({0xDC00, 'b'})));
  EXPECT_EQ(fffd + fffd, encode(units({0xDE00, 0xD83D})));  // low before high
  if (sizeof(wchar_t) == 2) {
    EXPECT_EQ(fffd + "\xf0\x9f\x98\x80", encode(units({0xD83D, 0xD83D, 0xDE00})));
    // A length that ends between the halves of a pair leaves the high half
    // unpaired; the low half past the length is not read into it.
    const std::wstring pair = units({0xD83D, 0xDE00});
    char out[8];
    long consumed = 0;
    EXPECT_EQ(fffd, std::string(out, utf8_encode(pair.c_str(), 1, out, sizeof out, &consumed)));
    EXPECT_EQ(1, consumed);
  } else {
    EXPECT_EQ(fffd, encode(units({0x110000})));
    EXPECT_EQ("\xf0\x9f\x98\x80", encode(units({0x1F600})));
  }
}

TEST(Utf8, LengthMinusOneConvertsUpToTheTerminator) {
  char out[16];
  long consumed = 0;
  EXPECT_EQ(6u, utf8_encode(L"评分", -1, out, sizeof out, &consumed));
  EXPECT_EQ(2, consumed);
  EXPECT_EQ(0u, utf8_encode(nullptr, -1, out, sizeof out, &consumed));
  EXPECT_EQ(0, consumed);
}

// Capacities 0 and 1, exactly enough and one short, in an output of the
// capacity and one guard byte past it, which no build may see written.
TEST(Utf8, StopsBeforeACharacterThatDoesNotFit) {
  struct Case {
    const wchar_t* text;
    size_t capacity;
    size_t bytes;
  } cases[] = {{L"ab", 0, 0},          {L"ab", 1, 1},          {L"脑", 1, 0},
               {L"a脑b", 3, 1},        {L"a脑b", 4, 4},        {L"a脑b", 5, 5},
               {L"脑", 2, 0},          {L"脑", 3, 3},          {L"\U0001F600x", 3, 0},
               {L"\U0001F600x", 4, 4}, {L"x\U0001F600", 4, 1}, {L"x\U0001F600", 5, 5},
               {L"\U00010000", 3, 0},  {L"\U00010000", 4, 4},  {L"\xFFFF", 3, 3}};
  for (const Case& c : cases) {
    std::unique_ptr<char[]> out(new char[c.capacity + 1]);
    for (size_t i = 0; i <= c.capacity; ++i) out[i] = '#';
    long consumed = -1;
    size_t n = utf8_encode(c.text, -1, out.get(), c.capacity, &consumed);
    EXPECT_EQ(c.bytes, n) << "capacity " << c.capacity;
    EXPECT_EQ('#', out[c.capacity]) << "guard past capacity " << c.capacity;
    // Whatever was consumed encodes to exactly the bytes written.
    EXPECT_EQ(encode(std::wstring(c.text, static_cast<size_t>(consumed))),
              std::string(out.get(), n));
  }
}

// Encoding a long text in small pieces gives the same bytes as in one go.
TEST(Utf8, PiecewiseEncodingNeverSplitsACharacter) {
  std::wstring text;
  for (int i = 0; i < 40; ++i) text += L"a评\U0001F600\x7ff";
  char whole[1024];
  long whole_consumed = 0;
  size_t whole_n = utf8_encode(text.c_str(), -1, whole, sizeof whole, &whole_consumed);
  ASSERT_EQ(static_cast<long>(text.size()), whole_consumed);
  for (size_t piece : {4u, 5u, 6u, 7u}) {
    std::string joined;
    const wchar_t* rest = text.c_str();
    while (*rest) {
      char out[8];
      long consumed = 0;
      size_t n = utf8_encode(rest, -1, out, piece, &consumed);
      ASSERT_GT(consumed, 0);
      joined.append(out, n);
      rest += consumed;
    }
    EXPECT_EQ(std::string(whole, whole_n), joined) << "piece " << piece;
  }
}

TEST(Utf8, DecodesAndReplacesMalformedSequences) {
  struct Case {
    const char* text;
    std::wstring expected;
  } cases[] = {
      {"ICH 评分", L"ICH 评分"},
      {"\xf0\x9f\x98\x80", L"\U0001F600"},
      {"\xff", L"\xfffd"},
      {"a\xe8\x84", L"a\xfffd"},
      {"\xc0\x80", L"\xfffd"},          // overlong
      {"\xed\xa0\x80", L"\xfffd"},      // an encoded surrogate
      {"\xf4\x90\x80\x80", L"\xfffd"},  // beyond U+10FFFF
      {"\x80z", L"\xfffdz"},
      {"", L""},
  };
  for (const Case& c : cases) {
    wchar_t out[16];
    utf8_decode(c.text, out, 16);
    EXPECT_EQ(c.expected, std::wstring(out)) << c.text;
  }
}

// Capacities 0 and 1, exactly enough and one short, in a buffer of the
// capacity and one guard cell past it; a pair (16-bit wchar_t) is never
// split. U+10000, the first code point that takes a pair, and U+FFFF, the
// last that takes one unit, stand on either side of the edge.
TEST(Utf8, DecodeCutsAtCapacityWithoutSplittingAPair) {
  const bool pairs = sizeof(wchar_t) == 2;
  struct Case {
    const char* text;
    int capacity;
    std::wstring expected;
  } cases[] = {
      {"abc", 0, L""},
      {"abc", 1, L""},
      {"评分结果", 3, L"评分"},
      {"评分", 3, L"评分"},
      {"a\xf0\x9f\x98\x80", 3, pairs ? L"a" : L"a\U0001F600"},
      {"a\xf0\x9f\x98\x80", 4, L"a\U0001F600"},
      {"a\xf0\x90\x80\x80", 4, L"a\U00010000"},
      {"\xef\xbf\xbf", 2, L"\xFFFF"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<wchar_t[]> out(new wchar_t[static_cast<size_t>(c.capacity) + 1]);
    for (int i = 0; i <= c.capacity; ++i) out[i] = L'#';
    int n = utf8_decode(c.text, out.get(), c.capacity);
    std::wstring got = c.capacity > 0 ? out.get() : L"";
    EXPECT_EQ(c.expected, got) << "capacity " << c.capacity;
    EXPECT_EQ(static_cast<int>(c.expected.size()), n) << "capacity " << c.capacity;
    EXPECT_EQ(L'#', out[c.capacity]) << "guard past capacity " << c.capacity;
  }
}

}  // namespace
