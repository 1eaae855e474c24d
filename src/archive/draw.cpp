#include "archive/draw.h"

#include <chrono>

#include "base/text.h"

namespace archive {
namespace {

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

base::Status CheckIssue(std::string_view issue) {
  if (issue.size() != 12 || issue[8] != '-' || !base::IsDigits(issue.substr(0, 8)) ||
      !base::IsDigits(issue.substr(9))) {
    return base::Error{"bad issue number"};
  }
  const std::string_view date = issue.substr(0, 8);
  const int year = Number(date.substr(0, 4));
  if (year < 2000 || year > 2099) {
    return base::Error{"year " + std::string(date.substr(0, 4)) + " outside 2000-2099"};
  }
  const std::chrono::year_month_day day{std::chrono::year(year),
                                        std::chrono::month(Number(date.substr(4, 2))),
                                        std::chrono::day(Number(date.substr(6, 2)))};
  if (!day.ok()) return base::Error{"no such date " + std::string(date)};
  const int sequence = Number(issue.substr(9));
  if (sequence < 1 || sequence > kDrawsPerDay) {
    return base::Error{"sequence " + std::string(issue.substr(9)) + " outside 001-120"};
  }
  return base::Ok{};
}

base::Status CheckCode(std::string_view code) {
  if (code.size() != 5 || !base::IsDigits(code)) return base::Error{"code is not five digits"};
  return base::Ok{};
}

}  // namespace archive
