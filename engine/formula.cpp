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

// Skips white space, then tests whether the text begins with token.
bool next_is(Context* c, const char* token) {
  skip_space(c);
  return std::strncmp(c->pos, token, std::strlen(token)) == 0;
}

// Consumes token when it is next.
bool match(Context* c, const char* token) {
  if (!next_is(c, token)) return false;
  c->pos += std::strlen(token);
  return true;
}

// Consumes a closing token that the grammar requires; its absence fails the
// formula, and evaluation goes on as if it were present.
void expect(Context* c, const char* token) {
  if (!match(c, token)) c->error = 1;
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

// Parameters first, then outputs, each in definition order.
double variable(Context* c, const char* name) {
  const ToolDef* t = c->tool;
  for (int i = 0; i < t->parameter_count; ++i)
    if (std::strcmp(t->parameters[i].key, name) == 0) return c->parameter_values[i];
  for (int i = 0; i < t->output_count; ++i)
    if (std::strcmp(t->outputs[i].key, name) == 0) return c->output_values[i];
  return fail(c);
}

// call := name "(" conditional [ "," conditional ] ")"
double call(Context* c, const char* name) {
  ++c->pos;  // the "(" that next_is found
  double a = conditional(c);
  if (match(c, ",")) {
    double b = conditional(c);
    expect(c, ")");
    return apply_function2(name, a, b, &c->error);
  }
  expect(c, ")");
  return apply_function1(name, a, &c->error);
}

// number := the longest prefix that strtod accepts, starting at a digit or "."
double number(Context* c) {
  double value = 0.0;
  int used = number_scan(c->pos, &value);
  if (used == 0) return fail(c);
  c->pos += used;
  return value;
}

// primary := number | name | name "(" args ")" | "(" conditional ")"
double primary(Context* c) {
  char ch = *c->pos;
  if (ch == '(') {
    ++c->pos;
    double v = conditional(c);
    expect(c, ")");
    return v;
  }
  if (is_digit(ch) || ch == '.') return number(c);
  if (is_name_start(ch)) {
    char name[64];
    read_name(c, name);
    if (next_is(c, "(")) return call(c, name);
    return variable(c, name);
  }
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
  if (!match(c, "^")) return base;
  if (!enter(c)) return 0.0;
  double exponent = power(c);
  --c->depth;
  return std::pow(base, exponent);
}

// term := power { ( "*" | "/" | "%" ) power }   (a zero divisor ends the term with 0)
double term(Context* c) {
  double left = power(c);
  for (;;) {
    skip_space(c);
    char op = *c->pos;
    if (op == '*' && c->pos[1] == '*') return left;  // no power, no two products
    if (op != '*' && op != '/' && op != '%') return left;
    ++c->pos;
    double right = power(c);
    if (op == '*') {
      left *= right;
    } else if (right == 0) {
      return fail(c);
    } else {
      left = op == '/' ? left / right : std::fmod(left, right);
    }
  }
}

// sum := term { ( "+" | "-" ) term }
double sum(Context* c) {
  double left = term(c);
  for (;;) {
    if (match(c, "+")) left += term(c);
    else if (match(c, "-")) left -= term(c);
    else return left;
  }
}

// comparison := sum [ ( "<=" | ">=" | "==" | "!=" | "<" | ">" ) sum ]
double comparison(Context* c) {
  double left = sum(c);
  if (match(c, "<=")) return left <= sum(c) ? 1.0 : 0.0;
  if (match(c, ">=")) return left >= sum(c) ? 1.0 : 0.0;
  if (match(c, "==")) return left == sum(c) ? 1.0 : 0.0;
  if (match(c, "!=")) return left != sum(c) ? 1.0 : 0.0;
  if (match(c, "<")) return left < sum(c) ? 1.0 : 0.0;
  if (match(c, ">")) return left > sum(c) ? 1.0 : 0.0;
  return left;
}

// and_chain := comparison { "&&" comparison }
double and_chain(Context* c) {
  double left = comparison(c);
  while (match(c, "&&")) {
    double right = comparison(c);
    left = truth(left) && truth(right) ? 1.0 : 0.0;
  }
  return left;
}

// or_chain := and_chain { "||" and_chain }
double or_chain(Context* c) {
  double left = and_chain(c);
  while (match(c, "||")) {
    double right = and_chain(c);
    left = truth(left) || truth(right) ? 1.0 : 0.0;
  }
  return left;
}

// conditional := or_chain [ "?" conditional ":" conditional ]
double conditional(Context* c) {
  if (!enter(c)) return 0.0;
  double condition = or_chain(c);
  double v = condition;
  if (match(c, "?")) {
    double a = conditional(c);
    expect(c, ":");
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
