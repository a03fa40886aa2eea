// Recursive descent over the formula text, computing while it parses. Each
// function is headed by the grammar rules of the levels it parses; the parse
// state travels explicitly. Nothing is short-circuited: both branches of
// "?:" and both operands of "&&" and "||" are always evaluated, so an error
// anywhere in the text fails the formula.
#include "engine/formula.h"

#include <cmath>
#include <initializer_list>

#include "engine/number_scan.h"

namespace {

struct Context {
  const ToolDef* tool;
  const double* parameter_values;
  const double* output_values;
  int error;  // sticky: set by any failure, never cleared
};

// What a level returns: its value and the position of the next unread
// character. The position and the nesting depth travel as arguments and
// results, in registers, rather than in the context: each token test reads
// the position, and a position kept in memory made every token wait for the
// store of the one before it.
struct Parsed {
  double value;
  const char* pos;
};

Parsed conditional(Context* c, const char* p, int depth);
Parsed then_branch(Context* c, const char* p, int depth);
inline Parsed unary(Context* c, const char* p, int depth);

// One table of character classes, shared by every token test: each test is
// one load and one mask instead of a chain of comparisons, and the tests run
// several times per character of a formula parsed anew on every call.
enum CharBits : unsigned char {
  kSpace = 1,  // blank, tab, line feed, carriage return
  kDigit = 2,
  kNameStart = 4,      // letter or "_"
  kNameChar = 8,       // letter, digit or "_"
  kExtendsNumber = 16  // may continue a number past its digits: digit, ".", e, E, x, X
};

struct CharTable {
  unsigned char bits[256];
};

constexpr CharTable make_char_table() {
  CharTable t{};
  t.bits[static_cast<unsigned char>(' ')] = kSpace;
  t.bits[static_cast<unsigned char>('\t')] = kSpace;
  t.bits[static_cast<unsigned char>('\n')] = kSpace;
  t.bits[static_cast<unsigned char>('\r')] = kSpace;
  for (int ch = '0'; ch <= '9'; ++ch) t.bits[ch] = kDigit | kNameChar | kExtendsNumber;
  for (int ch = 'a'; ch <= 'z'; ++ch) t.bits[ch] = t.bits[ch - 'a' + 'A'] = kNameStart | kNameChar;
  t.bits[static_cast<unsigned char>('_')] = kNameStart | kNameChar;
  t.bits[static_cast<unsigned char>('.')] = kExtendsNumber;
  for (char ch : {'e', 'E', 'x', 'X'}) t.bits[static_cast<unsigned char>(ch)] |= kExtendsNumber;
  return t;
}

constexpr CharTable kChars = make_char_table();

bool has(char ch, unsigned char bits) {
  return (kChars.bits[static_cast<unsigned char>(ch)] & bits) != 0;
}
bool truth(double v) { return v != 0; }  // NaN is true

// White space is skipped once, right after each token is consumed (and once
// before the first), so the position always stands on a character that is
// not white space and no token test has to skip it again. This reads the
// same text as skipping before every token, since white space may not stand
// inside a token.
const char* skip_space(const char* p) {
  while (has(*p, kSpace)) ++p;
  return p;
}

// Consumes a closing token that the grammar requires; its absence fails the
// formula, and evaluation goes on as if it were present. The tests look at
// characters directly instead of comparing token strings, which made most
// of the evaluation time.
const char* expect(Context* c, const char* p, char ch) {
  if (*p == ch) return skip_space(p + 1);
  c->error = 1;
  return p;
}

// The depth guard of every recursive level (depth is the nesting of the
// caller): past the limit the rest of the operand is left unread (so the
// formula fails) and 0 stands in its place.
bool too_deep(Context* c, int depth) {
  if (depth < kMaxFormulaDepth) return false;
  c->error = 1;
  return true;
}

Parsed fail(Context* c, const char* p) {
  c->error = 1;
  return {0.0, p};
}

// Names are compared where they stand in the formula, by their length: no
// copy into a buffer, and a key whose first character differs (most keys)
// is passed over after one comparison.
bool name_is(const char* name, int length, const char* text) {
  if (text[0] != name[0]) return false;
  for (int i = 1; i < length; ++i)
    if (text[i] != name[i]) return false;  // a shorter text stops at its NUL
  return text[length] == '\0';
}

double apply_function1(const char* name, int n, double x, int* error) {
  if (name_is(name, n, "sqrt")) {
    if (x < 0) {
      *error = 1;
      return 0.0;
    }
    return std::sqrt(x);
  }
  if (name_is(name, n, "abs")) return std::fabs(x);
  if (name_is(name, n, "log") || name_is(name, n, "log10")) {
    if (x <= 0) {
      *error = 1;
      return 0.0;
    }
    return n > 3 ? std::log10(x) : std::log(x);
  }
  if (name_is(name, n, "exp")) return std::exp(x);
  if (name_is(name, n, "floor")) return std::floor(x);
  if (name_is(name, n, "ceil")) return std::ceil(x);
  if (name_is(name, n, "round")) return std::floor(x + 0.5);
  if (name_is(name, n, "cbrt")) {
    const double t = 1.0 / 3.0;
    return x < 0 ? -std::pow(-x, t) : std::pow(x, t);
  }
  if (name_is(name, n, "sign")) return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0;
  *error = 1;
  return 0.0;
}

double apply_function2(const char* name, int n, double a, double b, int* error) {
  if (name_is(name, n, "min")) return a < b ? a : b;
  if (name_is(name, n, "max")) return a > b ? a : b;
  if (name_is(name, n, "pow")) return std::pow(a, b);
  if (name_is(name, n, "mod")) {
    if (b == 0) {
      *error = 1;
      return 0.0;
    }
    return std::fmod(a, b);
  }
  *error = 1;
  return 0.0;
}

// Parameters first, then outputs, each in definition order.
double variable(Context* c, const char* name, int n) {
  const ToolDef* t = c->tool;
  for (int i = 0; i < t->parameter_count; ++i)
    if (name_is(name, n, t->parameters[i].key)) return c->parameter_values[i];
  for (int i = 0; i < t->output_count; ++i)
    if (name_is(name, n, t->outputs[i].key)) return c->output_values[i];
  c->error = 1;
  return 0.0;
}

// call := name "(" conditional [ "," conditional ] ")"
// p stands after the "(".
Parsed call(Context* c, const char* name, int n, const char* p, int depth) {
  Parsed a = conditional(c, p, depth);
  if (*a.pos == ',') {
    Parsed b = conditional(c, skip_space(a.pos + 1), depth);
    const char* end = expect(c, b.pos, ')');
    return {apply_function2(name, n, a.value, b.value, &c->error), end};
  }
  const char* end = expect(c, a.pos, ')');
  return {apply_function1(name, n, a.value, &c->error), end};
}

// A run of at most 15 decimal digits that nothing could extend (no ".", no
// exponent, no "0x") is an integer below 2^53, which a double holds exactly:
// it is computed here, giving the value the full scanner would. The ICH
// formulas hold dozens of such literals. Returns the digits used, or 0.
int plain_integer(const char* p, double* value) {
  long long n = 0;
  int used = 0;
  while (used < 16 && has(p[used], kDigit)) n = n * 10 + (p[used++] - '0');
  const char next = p[used];
  if (used == 0 || used > 15 || next == '.' || next == 'e' || next == 'E') return 0;
  if (used == 1 && p[0] == '0' && (next == 'x' || next == 'X')) return 0;
  *value = static_cast<double>(n);
  return used;
}

// number := the longest prefix that strtod accepts, starting at a digit or "."
// Numbers of one or two digits are read in unary, below.
[[gnu::noinline]] Parsed number(Context* c, const char* p) {
  double value = 0.0;
  int used = plain_integer(p, &value);
  if (used == 0) used = number_scan(p, &value);
  if (used == 0) return fail(c, p);  // a lone ".": the position does not move
  return {value, skip_space(p + used)};
}

// A variable or a function call, read where the name stands (at most 63
// characters; the rest of a longer name stays unread). Kept out of line so
// that the operand code inlined into every caller stays small. A call
// leaves through a function of its own, so that the frame of a variable,
// the commonest name, does not carry the call's spills.
[[gnu::noinline]] Parsed call_operand(Context* c, const char* name, int n, const char* p,
                                      int depth) {
  return call(c, name, n, skip_space(p + 1), depth);
}

// The name is scanned to its end and then cut to 63 characters: one test
// per character instead of two, and the text is NUL-terminated, so reading
// past the 63rd is safe.
[[gnu::noinline]] Parsed name_operand(Context* c, const char* name, int depth) {
  int n = 1;
  while (has(name[n], kNameChar)) ++n;
  if (n > 63) n = 63;
  const char* p = skip_space(name + n);
  if (*p == '(') return call_operand(c, name, n, p, depth);
  return {variable(c, name, n), p};
}

// The operands that begin with a prefix operator or a parenthesis, and the
// failure of any other character. Kept out of line: they recurse.
[[gnu::noinline]] Parsed prefixed_operand(Context* c, const char* p, int depth) {
  switch (*p) {
    case '(': {
      Parsed v = conditional(c, skip_space(p + 1), depth);
      return {v.value, expect(c, v.pos, ')')};
    }
    case '-': {
      Parsed v = unary(c, skip_space(p + 1), depth);
      return {-v.value, v.pos};
    }
    case '+': return unary(c, skip_space(p + 1), depth);
    case '!': {
      Parsed v = unary(c, skip_space(p + 1), depth);
      return {v.value == 0 ? 1.0 : 0.0, v.pos};
    }
    default: return fail(c, p);  // an operator, ")", ",", ":", the end, a non-ASCII byte
  }
}

// unary   := ( "-" | "+" | "!" ) unary | primary
// primary := number | name | name "(" args ")" | "(" conditional ")"
// One function for both levels, inlined into each caller: every operand
// passes through them, and a call per level per operand was the largest
// cost left. Only the rarer kinds of operand leave it for a function.
[[gnu::always_inline]] inline Parsed unary(Context* c, const char* p, int depth) {
  if (too_deep(c, depth)) return {0.0, p};
  ++depth;
  const char ch = *p;
  // One or two digits that nothing extends, the commonest literals (scores,
  // points and percentages), are converted here, exactly as the scanner
  // would; only longer or other numbers call it.
  if (has(ch, kDigit)) {
    if (!has(p[1], kExtendsNumber)) return {static_cast<double>(ch - '0'), skip_space(p + 1)};
    if (has(p[1], kDigit) && !has(p[2], kExtendsNumber))
      return {static_cast<double>((ch - '0') * 10 + (p[1] - '0')), skip_space(p + 2)};
    return number(c, p);
  }
  if (ch == '.') return number(c, p);
  if (has(ch, kNameStart)) return name_operand(c, p, depth);
  return prefixed_operand(c, p, depth);
}

inline Parsed power(Context* c, const char* p, int depth);

// The "^" and the exponent after a base already read.
[[gnu::noinline]] Parsed power_tail(Context* c, Parsed base, int depth) {
  const char* p = skip_space(base.pos + 1);
  if (too_deep(c, depth)) return {0.0, p};
  Parsed exponent = power(c, p, depth + 1);
  return {std::pow(base.value, exponent.value), exponent.pos};
}

// power := unary [ "^" power ]        (right to left: 2^3^2 is 2^9)
// Inlined like unary; a power is rare, so its right side is out of line.
[[gnu::always_inline]] inline Parsed power(Context* c, const char* p, int depth) {
  Parsed base = unary(c, p, depth);
  if (*base.pos != '^') return base;
  return power_tail(c, base, depth);
}

// Binding strength of the binary operators, loosest first; an operand (a
// power) binds tighter than any of them.
enum Precedence { kNoPrecedence = 0, kOr = 1, kAnd, kComparison, kSum, kTerm, kOperand };

enum class Op : unsigned char {
  kNone,
  kOr,
  kAnd,
  kLe,
  kGe,
  kEq,
  kNe,
  kLt,
  kGt,
  kAdd,
  kSub,
  kMul,
  kDiv,
  kMod
};

// Indexed by Op: the operator's binding strength and its length in characters.
constexpr unsigned char kPrecedenceOf[] = {
    kNoPrecedence, kOr,         kAnd, kComparison, kComparison, kComparison, kComparison,
    kComparison,   kComparison, kSum, kSum,        kTerm,       kTerm,       kTerm};
constexpr unsigned char kLengthOf[] = {0, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1};

int precedence_of(Op op) { return kPrecedenceOf[static_cast<int>(op)]; }

// The binary operator that a character begins: alone, or with the second
// character that makes it a two-character one. A doubled asterisk is no
// operator (neither a power nor two products): its pair is kNone.
struct OperatorStart {
  Op single;
  Op pair;
  char second;  // 0: no two-character operator begins here
};

struct OperatorTable {
  OperatorStart of[256];
};

constexpr OperatorTable make_operator_table() {
  OperatorTable t{};
  t.of[static_cast<unsigned char>('|')] = {Op::kNone, Op::kOr, '|'};
  t.of[static_cast<unsigned char>('&')] = {Op::kNone, Op::kAnd, '&'};
  t.of[static_cast<unsigned char>('<')] = {Op::kLt, Op::kLe, '='};
  t.of[static_cast<unsigned char>('>')] = {Op::kGt, Op::kGe, '='};
  t.of[static_cast<unsigned char>('=')] = {Op::kNone, Op::kEq, '='};
  t.of[static_cast<unsigned char>('!')] = {Op::kNone, Op::kNe, '='};
  t.of[static_cast<unsigned char>('+')] = {Op::kAdd, Op::kNone, 0};
  t.of[static_cast<unsigned char>('-')] = {Op::kSub, Op::kNone, 0};
  t.of[static_cast<unsigned char>('*')] = {Op::kMul, Op::kNone, '*'};
  t.of[static_cast<unsigned char>('/')] = {Op::kDiv, Op::kNone, 0};
  t.of[static_cast<unsigned char>('%')] = {Op::kMod, Op::kNone, 0};
  return t;
}

constexpr OperatorTable kOperators = make_operator_table();

// Reads the binary operator at the position, without consuming it. Two
// table loads instead of a switch: it runs after every operand, and most
// often finds no operator at all (")", "?", ":", the end).
// The operator travels as one small number, its strength and length looked
// up, so that it stays in a register across the calls of the loop below.
[[gnu::always_inline]] inline Op peek_binary(const char* p) {
  const OperatorStart& start = kOperators.of[static_cast<unsigned char>(p[0])];
  return start.second != 0 && p[1] == start.second ? start.pair : start.single;
}

// Comparisons and logical operators give exactly 1 or 0; a comparison with
// NaN is false except "!=".
double apply_binary(Op op, double left, double right) {
  switch (op) {
    case Op::kOr: return truth(left) || truth(right) ? 1.0 : 0.0;
    case Op::kAnd: return truth(left) && truth(right) ? 1.0 : 0.0;
    case Op::kLe: return left <= right ? 1.0 : 0.0;
    case Op::kGe: return left >= right ? 1.0 : 0.0;
    case Op::kEq: return left == right ? 1.0 : 0.0;
    case Op::kNe: return left != right ? 1.0 : 0.0;
    case Op::kLt: return left < right ? 1.0 : 0.0;
    case Op::kGt: return left > right ? 1.0 : 0.0;
    case Op::kAdd: return left + right;
    case Op::kSub: return left - right;
    default: return 0.0;
  }
}

// The four binary levels below the conditional, by precedence climbing:
//   or_chain   := and_chain { "||" and_chain }
//   and_chain  := comparison { "&&" comparison }
//   comparison := sum [ ( "<=" | ">=" | "==" | "!=" | "<" | ">" ) sum ]
//   sum        := term { ( "+" | "-" ) term }
//   term       := power { ( "*" | "/" | "%" ) power }
// One loop instead of one function per level: a fresh parse on every call
// made the descent through five levels per operand the evaluator's main
// cost. It computes exactly what the level functions do. An operator is
// applied only to a left operand built at its own level or a tighter one
// (left_level is the loosest level applied so far), so a comparison never
// chains (1<2<3 leaves "<3" unread), and a zero divisor ends its term with 0
// while the sum around it goes on (2+1/0+3 gives 5, 1/0*5 leaves "*5").
//
// The loop starts from a left operand already read and the operator after
// it, so that an operand followed by no operator (most branches of "?:")
// costs no call at all, and a right operand recurses only when the operator
// after it binds tighter than the one before it: for any other, the nested
// loop would return at once.
Parsed climb(Context* c, Parsed left, Op op, int min_precedence, int depth) {
  double value = left.value;
  const char* p = left.pos;
  int left_level = kOperand;
  for (;;) {
    const int precedence = precedence_of(op);
    if (op == Op::kNone || precedence < min_precedence) return {value, p};
    if (precedence > left_level || (precedence == kComparison && left_level == kComparison))
      return {value, p};
    Parsed right = power(c, skip_space(p + kLengthOf[static_cast<int>(op)]), depth);
    Op next = peek_binary(right.pos);
    if (precedence == kTerm) {
      if (op == Op::kMul) {
        value *= right.value;
      } else if (right.value == 0) {
        c->error = 1;
        value = 0.0;
        left_level = kSum;  // the term has ended; only looser operators go on
      } else {
        value = op == Op::kDiv ? value / right.value : std::fmod(value, right.value);
      }
      p = right.pos;
      op = next;
      continue;
    }
    if (precedence_of(next) > precedence) {
      right = climb(c, right, next, precedence + 1, depth);
      next = peek_binary(right.pos);
    }
    value = apply_binary(op, value, right.value);
    p = right.pos;
    left_level = precedence;
    op = next;
  }
}

// conditional := or_chain [ "?" conditional ":" conditional ]
// The else branch is taken by the loop rather than by a call: a chain
// "a ? x : b ? y : z" is one loop, nested one level deeper each round as a
// call would be. Every branch is still evaluated; the first condition that
// holds chooses its branch, and the last else branch stands when none does.
// The loop starts from the first operand of the or-chain, already read at
// depth, so that a branch can hand over an operand it has read.
Parsed conditional_after(Context* c, Parsed condition, int depth) {
  bool chosen = false;
  double value = 0.0;
  for (;;) {
    const Op op = peek_binary(condition.pos);
    if (op != Op::kNone) condition = climb(c, condition, op, kOr, depth);
    if (*condition.pos != '?') return {chosen ? value : condition.value, condition.pos};
    const Parsed a = then_branch(c, skip_space(condition.pos + 1), depth);
    if (!chosen && truth(condition.value)) {
      value = a.value;
      chosen = true;
    }
    const char* p = expect(c, a.pos, ':');
    if (too_deep(c, depth)) return {chosen ? value : 0.0, p};
    ++depth;
    condition = power(c, p, depth);
  }
}

// The level's entry: its depth guard, then its first operand one level deeper.
Parsed conditional(Context* c, const char* p, int depth) {
  if (too_deep(c, depth)) return {0.0, p};
  return conditional_after(c, power(c, p, depth + 1), depth + 1);
}

// The conditional between "?" and ":". Most are a lone operand (the points
// and percentages of a score): one followed by ":" is the whole branch, as
// conditional would find, without a call of its own.
Parsed then_branch(Context* c, const char* p, int depth) {
  if (too_deep(c, depth)) return {0.0, p};
  const Parsed a = power(c, p, depth + 1);
  if (*a.pos == ':') return a;
  return conditional_after(c, a, depth + 1);
}

}  // namespace

double evaluate_formula(const ToolDef* tool, const char* formula, const double* parameter_values,
                        const double* output_values, int* error) {
  if (!formula || !formula[0]) {
    *error = 1;
    return 0.0;
  }
  Context c{tool, parameter_values, output_values, 0};
  const Parsed result = conditional(&c, skip_space(formula), 0);
  const char* end = skip_space(result.pos);
  *error = (*end == '\0' && c.error == 0 && std::isfinite(result.value)) ? 0 : 1;
  return result.value;
}
