#include "plan/digits_only.h"

#include "base/text.h"
namespace plan {

std::string DigitsOnly(std::string_view text) {
  std::string digits;
  for (char c : text) {
    if (base::IsDigit(c)) digits.push_back(c);
  }
  return digits;
}

}  // namespace plan
