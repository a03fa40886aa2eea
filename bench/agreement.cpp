#include "agreement.h"

#include <cstdio>
#include <string>

#include "engine/formula.h"
#include "engine/tool.h"
#include "handwritten_ich.h"
#include "peer_formula.h"
#include "peers.h"

namespace {

struct Formula {
  const char* name;
  std::string text;
  double (*handwritten)(double, double, double, double, double);
};

bool agree(const char* who, const char* formula, const double* v, double ours, double theirs) {
  if (ours == theirs) return true;
  std::fprintf(stderr,
               "%s disagrees on %s at gcs %g volume %g ivh %g infra %g age %g: %g, ours %g\n", who,
               formula, v[0], v[1], v[2], v[3], v[4], theirs, ours);
  return false;
}

}  // namespace

bool peers_agree_with_engine() {
  const ToolDef* tool = get_tool();
  const Formula formulas[] = {{"score", tool->outputs[0].formula, handwritten_score},
                              {"mortality", tool->outputs[1].formula, handwritten_mortality}};
  const char* const kOrder[] = {"gcs", "volume", "ivh", "infra", "age"};
  if (tool->parameter_count != 5) return false;
  for (int i = 0; i < 5; ++i)
    if (std::string(tool->parameters[i].key) != kOrder[i]) {
      std::fprintf(stderr, "parameter %d is %s, the hand-written floor expects %s\n", i,
                   tool->parameters[i].key, kOrder[i]);
      return false;
    }
  MuparserPeer mu(tool);
  FparserPeer fp(tool);
  const double gcs[] = {3, 4, 4.9, 5, 8, 12, 12.9, 13, 15};
  const double volume[] = {0, 10, 29.9, 30, 80};
  const double flag[] = {0, 1, -1, 0.5};
  const double age[] = {18, 65, 79.9, 80, 95};
  bool ok = true;
  int points = 0;
  for (const Formula& f : formulas) {
    const std::string dialect = to_if_dialect(f.text);
    if (!fp.parse(dialect)) {
      std::fprintf(stderr, "fparser rejects %s: %s\n", f.name, dialect.c_str());
      return false;
    }
    mu.parse(f.text);
    for (double g : gcs)
      for (double vol : volume)
        for (double ivh : flag)
          for (double infra : flag)
            for (double a : age) {
              // The parameters of the tool, in its own order.
              const double v[kMaxParameters] = {g, vol, ivh, infra, a};
              const double outputs[kMaxOutputs] = {};
              int error = 1;
              const double ours = evaluate_formula(tool, f.text.c_str(), v, outputs, &error);
              if (error) {
                std::fprintf(stderr, "the engine fails on %s\n", f.name);
                return false;
              }
              for (int i = 0; i < tool->parameter_count; ++i) mu.values[i] = fp.values[i] = v[i];
              ok &= agree("muparser", f.name, v, ours, mu.evaluate());
              ok &= agree("fparser", f.name, v, ours, fp.evaluate());
              ok &= agree("hand-written", f.name, v, ours, f.handwritten(g, vol, ivh, infra, a));
              ++points;
            }
  }
  std::printf("peers agree with the engine on %d grid points\n", points);
  return ok;
}
