#pragma once

#include <string>
#include <string_view>

namespace net {

// Small text operations shared by the request code and the page parsers.
// Positions are 1-based byte positions.

// Puts "http://" in front unless the url starts with "http://" or "https://"
// (letter case counts).
std::string CompleteUrlScheme(std::string_view url);

// Host in lower case, without scheme, port or path.
std::string UrlHost(std::string_view url);
// From the first "/" after the host to the end (query included); "/" when none.
std::string UrlPath(std::string_view url);
// The number after the host's ":", 80 when there is none.
int UrlPort(std::string_view url);

// The text between the first `left` found from `start` and the next `right`;
// empty when either is missing. "#引号" in a marker stands for a double quote.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        int start = 1, bool caseSensitive = false);

// The text before the first `delimiter` found from `start`; empty when none.
std::string TextBefore(std::string_view text, std::string_view delimiter, int start = 1,
                       bool caseSensitive = false);

}  // namespace net
