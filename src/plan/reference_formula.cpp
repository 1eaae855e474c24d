#include "plan/reference_formula.h"

#include <cstdio>
#include <cstdlib>

#include "plan/pattern_matcher.h"

namespace plan {

std::string ReferenceDigitsOnly(std::string_view text) {
  PatternMatcher matcher;
  matcher.Execute("[0-9]", text);
  std::string digits;
  for (int i = 1; i <= matcher.MatchCount(); ++i) digits += matcher.MatchText(i);
  return digits;
}

Evaluation ReferenceEvaluateFormula(std::string_view drawDigits, int codeCount,
                                    std::string_view formula) {
  static const char* const kFill[10] = {"1765094328", "2635094817", "2096173548", "4896351720",
                                        "4863251709", "5132097486", "5170948632", "8173209465",
                                        "9081726354", "2861735094"};
  std::string d[5];
  if (drawDigits.size() == 5) {
    for (int i = 0; i < 5; ++i) d[i] = std::string(1, drawDigits[static_cast<std::size_t>(i)]);
  }
  std::string q;
  for (char c : formula) {
    if (c >= 'A' && c <= 'E') {
      q += d[c - 'A'];
    } else {
      q += c;
    }
  }
  std::string m = ReferenceDigitsOnly(q);
  double n1 = std::atof(m.c_str());
  double n2 = std::atof(std::string(drawDigits).c_str());
  double v = n1 * n2 * 2;

  char printed[64];
  std::snprintf(printed, sizeof printed, "%.13g", v);
  std::string text = printed;
  auto e = text.find('e');
  if (e != std::string::npos) {
    // Widen the exponent to three digits: e+15 becomes e+015.
    std::string exponent = text.substr(e + 2);
    text = text.substr(0, e + 2) + std::string(exponent.size() < 3 ? 3 - exponent.size() : 0, '0') +
           exponent;
  }
  std::string t = ReferenceDigitsOnly(text);

  std::string r;
  for (char c : t) {
    if (r.find(c) == std::string::npos) r += c;
  }
  auto n = static_cast<std::size_t>(codeCount < 0 ? 0 : codeCount);
  if (r.size() < n) {
    int last = r.empty() ? 0 : r.back() - '0';
    for (const char* c = kFill[last]; *c != '\0'; ++c) {
      if (r.size() >= n) break;
      if (r.find(*c) == std::string::npos) r += *c;
    }
  }
  if (r.size() > n) r.resize(n);
  return Evaluation{Digits(r), Digits(t)};
}

}  // namespace plan
