#include "net/url_text.h"

#include <algorithm>
#include <cstdlib>

#include "base/text.h"

namespace net {
namespace {

// Builds a new text rather than replacing in place: GCC 12 at -O3 warns
// falsely on std::string::replace here.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  size_t done = 0;
  for (size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, done)) {
    out.append(text.substr(done, at - done)).append(to);
    done = at + from.size();
  }
  out.append(text.substr(done));
  return out;
}

size_t Find(std::string_view text, std::string_view word, size_t from, bool caseSensitive) {
  return caseSensitive ? text.find(word, from) : base::FindNoCase(text, word, from);
}

size_t StartIndex(int start) { return start < 1 ? 0 : static_cast<size_t>(start - 1); }

}  // namespace

std::string CompleteUrlScheme(std::string_view url) {
  if (url.starts_with("http://") || url.starts_with("https://")) return std::string(url);
  return "http://" + std::string(url);
}

std::string UrlHost(std::string_view url) {
  std::string rest = ReplaceAll(ReplaceAll(std::string(url), "https://", ""), "http://", "");
  rest = rest.substr(0, rest.find('/'));
  rest = rest.substr(0, rest.find(':'));
  std::transform(rest.begin(), rest.end(), rest.begin(), base::AsciiLower);
  return rest;
}

std::string UrlPath(std::string_view url) {
  size_t host = base::FindNoCase(url, UrlHost(url));
  if (host == std::string_view::npos) host = 0;
  size_t slash = url.find('/', host);
  return slash == std::string_view::npos ? "/" : std::string(url.substr(slash));
}

int UrlPort(std::string_view url) {
  std::string_view hostPort;
  if (!base::StartsWithNoCase(url, "http://")) {
    hostPort = url.substr(0, url.find('/'));
  } else {
    std::string_view rest = url.substr(7);
    hostPort = rest.substr(0, rest.find('/'));
  }
  size_t colon = hostPort.find(':');
  if (colon == std::string_view::npos) return 80;
  // Read as a decimal number: the digits that lead, 0 when none.
  return std::atoi(std::string(hostPort.substr(colon + 1)).c_str());
}

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        int start, bool caseSensitive) {
  const std::string leftMarker = ReplaceAll(std::string(left), "#引号", "\"");
  const std::string rightMarker = ReplaceAll(std::string(right), "#引号", "\"");
  size_t at = Find(text, leftMarker, StartIndex(start), caseSensitive);
  if (at == std::string_view::npos) return {};
  std::string_view rest = text.substr(at + leftMarker.size());
  size_t end = Find(rest, rightMarker, StartIndex(start), caseSensitive);
  if (end == std::string_view::npos) return {};
  return std::string(rest.substr(0, end));
}

std::string TextBefore(std::string_view text, std::string_view delimiter, int start,
                       bool caseSensitive) {
  size_t at = Find(text, delimiter, StartIndex(start), caseSensitive);
  if (at == std::string_view::npos) return {};
  return std::string(text.substr(0, at));
}

}  // namespace net
