#include "draws/issue_key.h"

#include <algorithm>

#include "plan/digits_only.h"

namespace draws {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsDigits(std::string_view text, std::size_t count) {
  return text.size() == count && std::all_of(text.begin(), text.end(), IsDigit);
}

std::string IssueKeyText(std::string_view issue) {
  std::string digits = plan::DigitsOnly(issue);
  return digits.size() > 9 ? digits.substr(digits.size() - 9) : digits;
}

std::string IssueFromKey(std::string_view key) {
  return "20" + std::string(key.substr(0, 6)) + "-" +
         std::string(key.substr(key.size() >= 3 ? key.size() - 3 : 0));
}

double IssueKeyNumber(std::string_view text) {
  double value = 0;
  for (char c : text) {
    if (!IsDigit(c)) break;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace draws
