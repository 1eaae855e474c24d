#include "draws/issue_key.h"

#include "base/text.h"
#include "plan/digits_only.h"

namespace draws {

bool IsDigits(std::string_view text, std::size_t count) {
  return text.size() == count && base::IsDigits(text);
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
    if (!base::IsDigit(c)) break;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace draws
