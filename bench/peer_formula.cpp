#include "peer_formula.h"

namespace {

// Position of the first "?" outside parentheses, or npos.
size_t top_level_question(const std::string& s) {
  int depth = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '(')
      ++depth;
    else if (s[i] == ')')
      --depth;
    else if (s[i] == '?' && depth == 0)
      return i;
  }
  return std::string::npos;
}

// The ":" that closes the "?" just before from: nested "?" of the branch
// each take their own ":" first.
size_t matching_colon(const std::string& s, size_t from) {
  int depth = 0, pending = 0;
  for (size_t i = from; i < s.size(); ++i) {
    if (s[i] == '(')
      ++depth;
    else if (s[i] == ')')
      --depth;
    else if (depth == 0 && s[i] == '?')
      ++pending;
    else if (depth == 0 && s[i] == ':' && pending-- == 0)
      return i;
  }
  return std::string::npos;
}

// Rewrites the inside of every top-level parenthesis of a text without a
// top-level "?".
std::string rewrite_groups(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '(') {
      out += s[i];
      continue;
    }
    int depth = 1;
    size_t j = i + 1;
    for (; j < s.size() && depth > 0; ++j) depth += s[j] == '(' ? 1 : s[j] == ')' ? -1 : 0;
    out += "(" + to_if_dialect(s.substr(i + 1, j - i - 2)) + ")";
    i = j - 1;
  }
  return out;
}

std::string replace_equality(std::string s) {
  for (size_t at = s.find("=="); at != std::string::npos; at = s.find("==", at + 1)) s.erase(at, 1);
  return s;
}

}  // namespace

std::string to_if_dialect(const std::string& formula) {
  size_t q = top_level_question(formula);
  if (q == std::string::npos) return replace_equality(rewrite_groups(formula));
  size_t colon = matching_colon(formula, q + 1);
  return "if(" + to_if_dialect(formula.substr(0, q)) + "," +
         to_if_dialect(formula.substr(q + 1, colon - q - 1)) + "," +
         to_if_dialect(formula.substr(colon + 1)) + ")";
}
