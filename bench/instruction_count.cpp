#include "instruction_count.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/formula.h"
#include "engine/tool.h"
#include "lexing_floor.h"
#include "peer_formula.h"
#include "peers.h"

namespace {

// Everything a call needs, made before the first counted call: the peers'
// parsers and their formula texts, the values.
struct Setup {
  const ToolDef* tool = get_tool();
  const char* formula = tool->outputs[1].formula;  // the mortality formula
  double values[kMaxParameters] = {};
  double outputs[kMaxOutputs] = {};
  std::string muparser_text = formula;
  std::string fparser_text = to_if_dialect(formula);
  MuparserPeer muparser{tool};
  FparserPeer fparser{tool};
  Setup() {
    for (int i = 0; i < tool->parameter_count; ++i) {
      values[i] = tool->parameters[i].default_value;
      muparser.values[i] = fparser.values[i] = values[i];
    }
  }
};

double engine_once(Setup* s) {
  int error = 0;
  return evaluate_formula(s->tool, s->formula, s->values, s->outputs, &error);
}
double floor_once(Setup* s) { return lex_formula(s->tool, s->formula).literals; }
double fparser_once(Setup* s) { return s->fparser.parse_and_evaluate(s->fparser_text); }
double muparser_once(Setup* s) { return s->muparser.parse_and_evaluate(s->muparser_text); }

// The counted calls, one function each. noipa keeps every one a real call
// under its own name, which callgrind's --toggle-collect finds, and keeps the
// compiler from merging the calls of the loop.
[[gnu::noipa]] double counted_call_engine(Setup* s) { return engine_once(s); }
[[gnu::noipa]] double counted_call_floor(Setup* s) { return floor_once(s); }
[[gnu::noipa]] double counted_call_fparser(Setup* s) { return fparser_once(s); }
[[gnu::noipa]] double counted_call_muparser(Setup* s) { return muparser_once(s); }

struct Evaluator {
  const char* name;
  double (*once)(Setup*);     // uncounted
  double (*counted)(Setup*);  // the same call, counted
};

const Evaluator kEvaluators[] = {{"engine", engine_once, counted_call_engine},
                                 {"floor", floor_once, counted_call_floor},
                                 {"fparser", fparser_once, counted_call_fparser},
                                 {"muparser", muparser_once, counted_call_muparser}};

}  // namespace

int run_counted_calls(const char* evaluator, const char* calls) {
  char* end = nullptr;
  const long n = std::strtol(calls, &end, 10);
  for (const Evaluator& e : kEvaluators) {
    if (std::strcmp(e.name, evaluator) != 0 || n < 1 || *end != '\0') continue;
    Setup s;
    // One uncounted call first: the first call into a shared library binds
    // its symbols and warms the allocator, costs that no later call pays.
    double sum = e.once(&s);
    for (long i = 0; i < n; ++i) sum += e.counted(&s);
    std::printf("%s: %ld calls, value %g\n", e.name, n, sum / static_cast<double>(n + 1));
    return 0;
  }
  std::fprintf(stderr, "usage: ich_bench --count engine|floor|fparser|muparser CALLS\n");
  return 2;
}
