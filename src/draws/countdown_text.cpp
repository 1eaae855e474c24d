#include "draws/countdown_text.h"

namespace draws {

std::string CountdownText(long long secondsLeft) {
  long long s = secondsLeft - 1;
  if (s < 0) return "00:00";
  long long remainder = s % 60;
  return "0" + std::to_string(s / 60) + ":" + (remainder <= 9 ? "0" : "") +
         std::to_string(remainder);
}

}  // namespace draws
