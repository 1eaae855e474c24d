#pragma once

#include <cstddef>
#include <string_view>

namespace base {

// Rules for the ASCII parts of a text: issue numbers, codes, keys, header
// names. A byte beyond ASCII is never a blank, a digit or a letter here, so
// UTF-8 and GBK text passes through unchanged. All of it is inline: the
// formula and search loops use the digit check.

// What a line may carry around its words.
inline constexpr std::string_view kBlanks = " \t\r\n";

// The text without any of `blanks` at either end.
constexpr std::string_view Trim(std::string_view text, std::string_view blanks = kBlanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One digit or more, and nothing else.
constexpr bool IsDigits(std::string_view text) {
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return !text.empty();
}

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

constexpr bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// Where `word` first stands in `text` at or after `from`, letter case aside;
// npos when it does not (an empty word stands at `from`).
constexpr std::size_t FindNoCase(std::string_view text, std::string_view word,
                                 std::size_t from = 0) {
  if (from > text.size()) return std::string_view::npos;
  for (std::size_t at = from; text.size() - at >= word.size(); ++at) {
    if (EqualsNoCase(text.substr(at, word.size()), word)) return at;
  }
  return std::string_view::npos;
}

constexpr bool ContainsNoCase(std::string_view text, std::string_view word) {
  return FindNoCase(text, word) != std::string_view::npos;
}

}  // namespace base
