#include "plan/digits_only.h"

namespace plan {

std::string DigitsOnly(std::string_view text) {
  std::string digits;
  for (char c : text) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  return digits;
}

}  // namespace plan
