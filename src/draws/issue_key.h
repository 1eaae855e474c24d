#pragma once

#include <string>
#include <string_view>

namespace draws {

// True when text is exactly `count` ASCII digits.
bool IsDigits(std::string_view text, std::size_t count);

// The comparable key of an issue: the last 9 digits once every non-digit is
// dropped (YYYYMMDD-NNN gives YYMMDDNNN). Empty when the issue has no digit.
std::string IssueKeyText(std::string_view issue);

// The issue number rebuilt from a 9-digit key: "20" YYMMDD "-" NNN.
std::string IssueFromKey(std::string_view key);

// An issue key's leading decimal digits as a number, 0 when there are none.
// Digits only: unlike the atof reading of counts, a key never has blanks, a
// sign or an exponent that could make two keys compare out of order.
double IssueKeyNumber(std::string_view text);

}  // namespace draws
