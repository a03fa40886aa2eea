// Recursive descent over the formula text, computing while it parses. One
// function per precedence level, each headed by its grammar rule; the parse
// state travels explicitly. Nothing is short-circuited: both branches of
// "?:" and both operands of "&&" and "||" are always evaluated, so an error
// anywhere in the text fails the formula.
#include "engine/formula.h"

#include <cmath>
#include <cstring>

#include "engine/number_scan.h"

namespace {

struct Context {
  const ToolDef* tool;
  const double* parameter_values;
  const double* output_values;
  const char* pos;  // next unread character
  int error;        // sticky: set by any failure, never cleared
  int depth;        // current nesting, guarded by kMaxFormulaDepth
};

double conditional(Context* c);
double unary(Context* c);

bool is_space(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; }
bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }
bool is_name_start(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_'; }
bool is_name_char(char ch) { return is_name_start(ch) || is_digit(ch); }
bool truth(double v) { return v != 0; }  // NaN is true

void skip_space(Context* c) {
  while (is_space(*c->pos)) ++c->pos;
}

// The token tests below look at one or two characters directly instead of
// comparing token strings: they run several times per character of the
// formula, and string comparisons made them most of the evaluation time.

// Skips white space, then tests whether the next character is ch.
bool next_is(Context* c, char ch) {
  skip_space(c);
  return *c->pos == ch;
}

// Consumes the one-character token ch when it is next.
bool match(Context* c, char ch) {
  if (!next_is(c, ch)) return false;
  ++c->pos;
  return true;
}

// Consumes a closing token that the grammar requires; its absence fails the
// formula, and evaluation goes on as if it were present.
void expect(Context* c, char ch) {
  if (!match(c, ch)) c->error = 1;
}

// Guards every recursive level: past the depth limit the rest of the operand
// is left unread (so the formula fails) and 0 stands in its place.
bool enter(Context* c) {
  if (c->depth >= kMaxFormulaDepth) {
    c->error = 1;
    return false;
  }
  ++c->depth;
  return true;
}

double fail(Context* c) {
  c->error = 1;
  return 0.0;
}

// Reads a name of at most 63 characters into the 64-byte buffer.
void read_name(Context* c, char* name) {
  int n = 0;
  while (n < 63 && is_name_char(*c->pos)) name[n++] = *c->pos++;
  name[n] = '\0';
}

double apply_function1(const char* name, double x, int* error) {
  if (std::strcmp(name, "sqrt") == 0) {
    if (x < 0) { *error = 1; return 0.0; }
    return std::sqrt(x);
  }
  if (std::strcmp(name, "abs") == 0) return std::fabs(x);
  if (std::strcmp(name, "log") == 0 || std::strcmp(name, "log10") == 0) {
    if (x <= 0) { *error = 1; return 0.0; }
    return name[3] ? std::log10(x) : std::log(x);
  }
  if (std::strcmp(name, "exp") == 0) return std::exp(x);
  if (std::strcmp(name, "floor") == 0) return std::floor(x);
  if (std::strcmp(name, "ceil") == 0) return std::ceil(x);
  if (std::strcmp(name, "round") == 0) return std::floor(x + 0.5);
  if (std::strcmp(name, "cbrt") == 0) {
    const double t = 1.0 / 3.0;
    return x < 0 ? -std::pow(-x, t) : std::pow(x, t);
  }
  if (std::strcmp(name, "sign") == 0) return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0;
  *error = 1;
  return 0.0;
}

double apply_function2(const char* name, double a, double b, int* error) {
  if (std::strcmp(name, "min") == 0) return a < b ? a : b;
  if (std::strcmp(name, "max") == 0) return a > b ? a : b;
  if (std::strcmp(name, "pow") == 0) return std::pow(a, b);
  if (std::strcmp(name, "mod") == 0) {
    if (b == 0) { *error = 1; return 0.0; }
    return std::fmod(a, b);
  }
  *error = 1;
  return 0.0;
}

// Byte-for-byte equality of two texts. Keys are a few characters long; a
// library call per comparison cost a tenth of the evaluation time.
bool same_text(const char* a, const char* b) {
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

// Parameters first, then outputs, each in definition order.
double variable(Context* c, const char* name) {
  const ToolDef* t = c->tool;
  for (int i = 0; i < t->parameter_count; ++i)
    if (same_text(t->parameters[i].key, name)) return c->parameter_values[i];
  for (int i = 0; i < t->output_count; ++i)
    if (same_text(t->outputs[i].key, name)) return c->output_values[i];
  return fail(c);
}

// call := name "(" conditional [ "," conditional ] ")"
double call(Context* c, const char* name) {
  ++c->pos;  // the "(" that next_is found
  double a = conditional(c);
  if (match(c, ',')) {
    double b = conditional(c);
    expect(c, ')');
    return apply_function2(name, a, b, &c->error);
  }
  expect(c, ')');
  return apply_function1(name, a, &c->error);
}

// A run of at most 15 decimal digits that nothing could extend (no ".", no
// exponent, no "0x") is an integer below 2^53, which a double holds exactly:
// it is computed here, giving the value the full scanner would. The ICH
// formulas hold dozens of such literals. Returns the digits used, or 0.
int plain_integer(const char* p, double* value) {
  long long n = 0;
  int used = 0;
  while (used < 16 && is_digit(p[used])) n = n * 10 + (p[used++] - '0');
  const char next = p[used];
  if (used == 0 || used > 15 || next == '.' || next == 'e' || next == 'E') return 0;
  if (used == 1 && p[0] == '0' && (next == 'x' || next == 'X')) return 0;
  *value = static_cast<double>(n);
  return used;
}

// number := the longest prefix that strtod accepts, starting at a digit or "."
double number(Context* c) {
  double value = 0.0;
  if (int used = plain_integer(c->pos, &value)) {
    c->pos += used;
    return value;
  }
  int used = number_scan(c->pos, &value);
  if (used == 0) return fail(c);
  c->pos += used;
  return value;
}

// A variable or a function call. Kept out of primary so that the name
// buffer does not weigh on the frame of every operand.
[[gnu::noinline]] double name_operand(Context* c) {
  char name[64];
  read_name(c, name);
  if (next_is(c, '(')) return call(c, name);
  return variable(c, name);
}

// primary := number | name | name "(" args ")" | "(" conditional ")"
double primary(Context* c) {
  char ch = *c->pos;
  if (ch == '(') {
    ++c->pos;
    double v = conditional(c);
    expect(c, ')');
    return v;
  }
  if (is_digit(ch) || ch == '.') return number(c);
  if (is_name_start(ch)) return name_operand(c);
  return fail(c);  // an operator, ")", ",", ":", the end, a non-ASCII byte
}

// unary := ( "-" | "+" | "!" ) unary | primary
double unary_level(Context* c) {
  skip_space(c);
  switch (*c->pos) {
    case '-':
      ++c->pos;
      return -unary(c);
    case '+':
      ++c->pos;
      return unary(c);
    case '!': {
      ++c->pos;
      double v = unary(c);
      return v == 0 ? 1.0 : 0.0;
    }
    default:
      return primary(c);
  }
}

double unary(Context* c) {
  if (!enter(c)) return 0.0;
  double v = unary_level(c);
  --c->depth;
  return v;
}

// power := unary [ "^" power ]        (right to left: 2^3^2 is 2^9)
double power(Context* c) {
  double base = unary(c);
  if (!match(c, '^')) return base;
  if (!enter(c)) return 0.0;
  double exponent = power(c);
  --c->depth;
  return std::pow(base, exponent);
}

// Binding strength of the binary operators, loosest first; an operand (a
// power) binds tighter than any of them.
enum Precedence { kOr = 1, kAnd, kComparison, kSum, kTerm, kOperand };

enum class Op { kNone, kOr, kAnd, kLe, kGe, kEq, kNe, kLt, kGt, kAdd, kSub, kMul, kDiv, kMod };

struct BinaryOp {
  Op op;
  int precedence;
  int length;  // characters of the operator
};

const BinaryOp kNoOp = {Op::kNone, 0, 0};

// Reads the binary operator after the white space, without consuming it. A
// doubled asterisk is no operator: neither a power nor two products.
BinaryOp peek_binary(Context* c) {
  skip_space(c);
  const char* p = c->pos;
  switch (p[0]) {
    case '|': return p[1] == '|' ? BinaryOp{Op::kOr, kOr, 2} : kNoOp;
    case '&': return p[1] == '&' ? BinaryOp{Op::kAnd, kAnd, 2} : kNoOp;
    case '<': return p[1] == '=' ? BinaryOp{Op::kLe, kComparison, 2} : BinaryOp{Op::kLt, kComparison, 1};
    case '>': return p[1] == '=' ? BinaryOp{Op::kGe, kComparison, 2} : BinaryOp{Op::kGt, kComparison, 1};
    case '=': return p[1] == '=' ? BinaryOp{Op::kEq, kComparison, 2} : kNoOp;
    case '!': return p[1] == '=' ? BinaryOp{Op::kNe, kComparison, 2} : kNoOp;
    case '+': return BinaryOp{Op::kAdd, kSum, 1};
    case '-': return BinaryOp{Op::kSub, kSum, 1};
    case '*': return p[1] == '*' ? kNoOp : BinaryOp{Op::kMul, kTerm, 1};
    case '/': return BinaryOp{Op::kDiv, kTerm, 1};
    case '%': return BinaryOp{Op::kMod, kTerm, 1};
    default: return kNoOp;
  }
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
double binary(Context* c, int min_precedence) {
  double left = power(c);
  int left_level = kOperand;
  for (;;) {
    const BinaryOp op = peek_binary(c);
    if (op.op == Op::kNone || op.precedence < min_precedence) return left;
    if (op.precedence > left_level || (op.precedence == kComparison && left_level == kComparison))
      return left;
    c->pos += op.length;
    if (op.precedence == kTerm) {
      double right = power(c);
      if (op.op == Op::kMul) {
        left *= right;
      } else if (right == 0) {
        c->error = 1;
        left = 0.0;
        left_level = kSum;  // the term has ended; only looser operators go on
      } else {
        left = op.op == Op::kDiv ? left / right : std::fmod(left, right);
      }
      continue;
    }
    double right = binary(c, op.precedence + 1);
    left = apply_binary(op.op, left, right);
    left_level = op.precedence;
  }
}

// conditional := or_chain [ "?" conditional ":" conditional ]
double conditional(Context* c) {
  if (!enter(c)) return 0.0;
  double condition = binary(c, kOr);
  double v = condition;
  if (match(c, '?')) {
    double a = conditional(c);
    expect(c, ':');
    double b = conditional(c);
    v = truth(condition) ? a : b;
  }
  --c->depth;
  return v;
}

}  // namespace

double evaluate_formula(const ToolDef* tool, const char* formula, const double* parameter_values,
                        const double* output_values, int* error) {
  if (!formula || !formula[0]) {
    *error = 1;
    return 0.0;
  }
  Context c{tool, parameter_values, output_values, formula, 0, 0};
  double result = conditional(&c);
  skip_space(&c);
  *error = (*c.pos == '\0' && c.error == 0 && std::isfinite(result)) ? 0 : 1;
  return result;
}
