#include "lottery/draw.h"

#include <iterator>
#include <string>

#include "lottery/issue.h"
#include "lottery/lottery.h"

namespace lottery {
namespace {

// The import report names the count as a word: "code is not five digits".
std::string CountWord(int count) {
  constexpr const char* kWords[] = {"one", "two",   "three", "four", "five",
                                    "six", "seven", "eight", "nine", "ten"};
  if (count >= 1 && count <= static_cast<int>(std::size(kWords))) return kWords[count - 1];
  return std::to_string(count);
}

}  // namespace

base::Status CheckIssue(std::string_view issue, const Lottery& lottery) {
  auto parsed = ParseKeptIssue(issue, lottery);
  if (!parsed) return parsed.error();
  return base::Ok{};
}

base::Status CheckCode(std::string_view code, const Lottery& lottery) {
  bool digits = code.size() == static_cast<std::size_t>(lottery.digits);
  for (char c : code) digits = digits && c >= '0' && c <= '9';
  if (!digits) return base::Error{"code is not " + CountWord(lottery.digits) + " digits"};
  return base::Ok{};
}

}  // namespace lottery
