// The two peer parsers behind one small interface each: a fresh parse and
// evaluation per call, or evaluation only after one parse. Both read the
// tool's parameters from the same array, by the tool's own keys.
#pragma once

#include <muParser.h>
#include <fparser.hh>

#include <string>

#include "engine/tool.h"

class MuparserPeer {
 public:
  explicit MuparserPeer(const ToolDef* tool) {
    for (int i = 0; i < tool->parameter_count; ++i)
      parser_.DefineVar(tool->parameters[i].key, &values[i]);
  }
  // Reads the engine's own formula text: muparser knows "?:" and "==".
  void parse(const std::string& formula) { parser_.SetExpr(formula); }
  double evaluate() { return parser_.Eval(); }
  double parse_and_evaluate(const std::string& formula) {
    parse(formula);
    return evaluate();
  }
  double values[kMaxParameters] = {};

 private:
  mu::Parser parser_;
};

class FparserPeer {
 public:
  explicit FparserPeer(const ToolDef* tool) {
    for (int i = 0; i < tool->parameter_count; ++i) {
      if (i) variables_ += ",";
      variables_ += tool->parameters[i].key;
    }
  }
  // Takes the formula already rewritten by to_if_dialect; returns false when
  // fparser rejects it.
  bool parse(const std::string& formula) { return parser_.Parse(formula, variables_) < 0; }
  double evaluate() { return parser_.Eval(values); }
  double parse_and_evaluate(const std::string& formula) {
    parse(formula);
    return evaluate();
  }
  double values[kMaxParameters] = {};

 private:
  FunctionParser parser_;
  std::string variables_;
};
