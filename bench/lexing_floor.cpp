#include "lexing_floor.h"

#include <initializer_list>

#include "engine/number_scan.h"

namespace {

// One class per byte, so that each character is classified by one load.
enum CharClass : unsigned char { kOther, kEnd, kSpace, kDigit, kDot, kName, kSingle, kPairable };

struct ClassTable {
  CharClass of[256];
  ClassTable() : of() {
    of[0] = kEnd;
    for (char c : {' ', '\t', '\n', '\r'}) of[static_cast<unsigned char>(c)] = kSpace;
    for (int c = '0'; c <= '9'; ++c) of[c] = kDigit;
    of[static_cast<unsigned char>('.')] = kDot;
    for (int c = 'a'; c <= 'z'; ++c) of[c] = of[c - 'a' + 'A'] = kName;
    of[static_cast<unsigned char>('_')] = kName;
    for (char c : {'+', '-', '*', '/', '%', '^', '?', ':', '(', ')', ','})
      of[static_cast<unsigned char>(c)] = kSingle;
    // May begin a two-character operator; "<", ">" and "!" are also operators alone.
    for (char c : {'<', '>', '=', '!', '&', '|'}) of[static_cast<unsigned char>(c)] = kPairable;
  }
};
const ClassTable kClasses;

CharClass class_of(char ch) { return kClasses.of[static_cast<unsigned char>(ch)]; }
bool is_name_char(char ch) {
  CharClass k = class_of(ch);
  return k == kName || k == kDigit;
}

// Byte-for-byte equality of a key with the name of length n at p.
bool key_is(const char* key, const char* p, int n) {
  int i = 0;
  while (i < n && key[i] == p[i]) ++i;
  return i == n && key[n] == '\0';
}

// The evaluator's lookup: parameters first, then outputs. Returns index + 1
// (outputs after the parameters), or 0.
int find_key(const ToolDef* tool, const char* p, int n) {
  for (int i = 0; i < tool->parameter_count; ++i)
    if (key_is(tool->parameters[i].key, p, n)) return i + 1;
  for (int i = 0; i < tool->output_count; ++i)
    if (key_is(tool->outputs[i].key, p, n)) return tool->parameter_count + i + 1;
  return 0;
}

}  // namespace

LexSummary lex_formula(const ToolDef* tool, const char* formula) {
  LexSummary s = {0, 0.0, 0, true};
  const char* p = formula;
  for (;;) {
    const char ch = *p;
    switch (class_of(ch)) {
      case kEnd: return s;
      case kSpace: ++p; continue;
      case kDigit:
      case kDot: {
        ++s.tokens;
        // Integer literals inline, as the evaluator converts them; any other
        // number through the scanner.
        long long n = 0;
        int used = 0;
        while (used < 16 && class_of(p[used]) == kDigit) n = n * 10 + (p[used++] - '0');
        const char next = p[used];
        if (used > 0 && used <= 15 && next != '.' && next != 'e' && next != 'E' && next != 'x' &&
            next != 'X') {
          s.literals += static_cast<double>(n);
          p += used;
          continue;
        }
        double value = 0;
        used = number_scan(p, &value);
        if (used == 0) {
          s.whole = false;
          used = 1;
        }
        s.literals += value;
        p += used;
        continue;
      }
      case kName: {
        ++s.tokens;
        int n = 1;
        while (n < 63 && is_name_char(p[n])) ++n;
        const int key = find_key(tool, p, n);
        if (key == 0) s.whole = false;
        s.keys += key;
        p += n;
        continue;
      }
      case kSingle:
        ++s.tokens;
        ++p;
        continue;
      case kPairable: {
        ++s.tokens;
        const bool pair = ch == '&' || ch == '|' ? p[1] == ch : p[1] == '=';
        if (!pair && (ch == '=' || ch == '&' || ch == '|')) s.whole = false;
        p += pair ? 2 : 1;
        continue;
      }
      default: s.whole = false; ++p;
    }
  }
}
