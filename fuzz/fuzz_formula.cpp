// Any bytes as a formula, evaluated against the ICH tool and a second small
// tool under several sets of values. Contract: the call never reads outside
// the text, an error flag of 0 comes with a finite value, and the result does
// not depend on surrounding white space or on enclosing parentheses.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "engine/formula.h"
#include "engine/tool.h"
#include "fuzz_check.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// A tool whose keys probe the name rules: a key spelled like a function, a
// key that starts with "_", a 63-character key (the longest a formula can
// reach), a key shared by a parameter and an output.
const ParameterDef kProbeParameters[] = {
    {"x", L"x", nullptr, 1},
    {"y", L"y", L"", 2},
    {"exp", L"exp", nullptr, 3},
    {"_n", L"_n", nullptr, 4},
    {"k23456789012345678901234567890123456789012345678901234567890123", L"long", nullptr, 5},
    {"shared", L"shared", nullptr, 6},
};
const OutputDef kProbeOutputs[] = {
    {"a", L"a", nullptr, "x+y", "f2"},
    {"shared", L"shared", nullptr, "a*2", "f0"},
};
const ToolDef kProbeTool = {
    1, L"probe",      nullptr, L"probe", L"", nullptr, 6, kProbeParameters,
    2, kProbeOutputs, 0,       nullptr,  0,
};

// Value sets indexed like the parameters of either tool (both have at most
// 16): ordinary values, zeros of both signs, and the non-finite ones.
const double kValueSets[][kMaxParameters] = {
    {12, 20, 0, 0, 65},
    {3, 100, 1, 1, 90, -7},
    {-0.0, 0.0, -0.0, 0.0, -0.0, 0.0},
    {kNaN, kInf, -kInf, 1e308, -1e-308, 5e-324},
};
const double kOutputSets[][kMaxOutputs] = {
    {},
    {kNaN, -kInf},
};

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool same_result(double a, double b) { return same_bits(a, b) || (std::isnan(a) && std::isnan(b)); }

// Evaluates text copied into a heap block of exactly its size, so that
// AddressSanitizer reports any read past the terminator.
double evaluate_exact_copy(const ToolDef* tool, const char* text, size_t length,
                           const double* values, const double* outputs, int* error) {
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  *error = -1;
  double v = evaluate_formula(tool, copy, values, outputs, error);
  delete[] copy;
  return v;
}

// Deep enough that parentheses alone can reach the depth limit: each
// character raises the nesting by at most two.
const size_t kShallowLength = (kMaxFormulaDepth - 4) / 2;

void check_one(const ToolDef* tool, const char* text, size_t length, const double* values,
               const double* outputs) {
  int error = -1;
  double v = evaluate_exact_copy(tool, text, length, values, outputs, &error);
  FUZZ_CHECK(error == 0 || error == 1);
  if (error == 0) FUZZ_CHECK(std::isfinite(v));

  // The same text with blanks around it reads the same.
  char padded[kShallowLength + 3];
  if (length <= kShallowLength) {
    padded[0] = ' ';
    std::memcpy(padded + 1, text, length);
    padded[length + 1] = '\t';
    int padded_error = -1;
    double pv = evaluate_exact_copy(tool, padded, length + 2, values, outputs, &padded_error);
    FUZZ_CHECK(padded_error == error);
    FUZZ_CHECK(same_result(pv, v));

    // A formula that succeeds keeps its value inside parentheses.
    if (error == 0) {
      padded[0] = '(';
      padded[length + 1] = ')';
      int wrapped_error = -1;
      double wv = evaluate_exact_copy(tool, padded, length + 2, values, outputs, &wrapped_error);
      FUZZ_CHECK(wrapped_error == 0);
      FUZZ_CHECK(same_bits(wv, v));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const size_t length = strnlen(text, size);  // the formula ends at the first NUL
  const ToolDef* tools[] = {get_tool(), &kProbeTool};
  for (const ToolDef* tool : tools)
    for (const auto& values : kValueSets)
      for (const auto& outputs : kOutputSets) check_one(tool, text, length, values, outputs);

  int error = 0;
  double v = evaluate_formula(get_tool(), nullptr, kValueSets[0], kOutputSets[0], &error);
  FUZZ_CHECK(error == 1 && v == 0);
  return 0;
}
