// The ICH formulas through the engine, the two peers, the lexing floor and
// the hand-written floor, all on the tool's default values.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/formula.h"
#include "engine/tool.h"
#include "handwritten_ich.h"
#include "lexing_floor.h"
#include "peer_formula.h"
#include "peers.h"

namespace {

enum Which { kScore = 0, kMortality = 1 };

const char* formula_of(Which which) { return get_tool()->outputs[which].formula; }

struct Defaults {
  double values[kMaxParameters] = {};
  Defaults() {
    const ToolDef* tool = get_tool();
    for (int i = 0; i < tool->parameter_count; ++i) values[i] = tool->parameters[i].default_value;
  }
};

void engine_parse_evaluate(benchmark::State& state, Which which) {
  const Defaults d;
  const double outputs[kMaxOutputs] = {};
  const char* formula = formula_of(which);
  for (auto _ : state) {
    int error = 0;
    benchmark::DoNotOptimize(formula);
    double v = evaluate_formula(get_tool(), formula, d.values, outputs, &error);
    benchmark::DoNotOptimize(v);
  }
}

void muparser_parse_evaluate(benchmark::State& state, Which which) {
  const Defaults d;
  MuparserPeer peer(get_tool());
  for (int i = 0; i < kMaxParameters; ++i) peer.values[i] = d.values[i];
  const std::string formula = formula_of(which);
  for (auto _ : state) benchmark::DoNotOptimize(peer.parse_and_evaluate(formula));
}

void muparser_evaluate(benchmark::State& state, Which which) {
  const Defaults d;
  MuparserPeer peer(get_tool());
  for (int i = 0; i < kMaxParameters; ++i) peer.values[i] = d.values[i];
  peer.parse(formula_of(which));
  for (auto _ : state) benchmark::DoNotOptimize(peer.evaluate());
}

void fparser_parse_evaluate(benchmark::State& state, Which which) {
  const Defaults d;
  FparserPeer peer(get_tool());
  for (int i = 0; i < kMaxParameters; ++i) peer.values[i] = d.values[i];
  const std::string formula = to_if_dialect(formula_of(which));
  for (auto _ : state) benchmark::DoNotOptimize(peer.parse_and_evaluate(formula));
}

void fparser_evaluate(benchmark::State& state, Which which) {
  const Defaults d;
  FparserPeer peer(get_tool());
  for (int i = 0; i < kMaxParameters; ++i) peer.values[i] = d.values[i];
  peer.parse(to_if_dialect(formula_of(which)));
  for (auto _ : state) benchmark::DoNotOptimize(peer.evaluate());
}

void lexing_floor(benchmark::State& state, Which which) {
  const char* formula = formula_of(which);
  for (auto _ : state) {
    benchmark::DoNotOptimize(formula);
    LexSummary s = lex_formula(get_tool(), formula);
    benchmark::DoNotOptimize(s);
  }
}

void handwritten(benchmark::State& state, Which which) {
  Defaults d;
  for (auto _ : state) {
    benchmark::DoNotOptimize(d.values);
    double v = which == kScore ? handwritten_score(d.values[0], d.values[1], d.values[2],
                                                   d.values[3], d.values[4])
                               : handwritten_mortality(d.values[0], d.values[1], d.values[2],
                                                       d.values[3], d.values[4]);
    benchmark::DoNotOptimize(v);
  }
}

}  // namespace

BENCHMARK_CAPTURE(engine_parse_evaluate, mortality, kMortality);
BENCHMARK_CAPTURE(muparser_parse_evaluate, mortality, kMortality);
BENCHMARK_CAPTURE(fparser_parse_evaluate, mortality, kMortality);
BENCHMARK_CAPTURE(muparser_evaluate, mortality, kMortality);
BENCHMARK_CAPTURE(fparser_evaluate, mortality, kMortality);
BENCHMARK_CAPTURE(lexing_floor, mortality, kMortality);
BENCHMARK_CAPTURE(handwritten, mortality, kMortality);
BENCHMARK_CAPTURE(engine_parse_evaluate, score, kScore);
BENCHMARK_CAPTURE(muparser_parse_evaluate, score, kScore);
BENCHMARK_CAPTURE(fparser_parse_evaluate, score, kScore);
BENCHMARK_CAPTURE(muparser_evaluate, score, kScore);
BENCHMARK_CAPTURE(fparser_evaluate, score, kScore);
BENCHMARK_CAPTURE(lexing_floor, score, kScore);
BENCHMARK_CAPTURE(handwritten, score, kScore);
