#include "mirror_routes.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "mirror_pages.h"

namespace drawd {

namespace {

MirrorReply Page(std::string body, std::string contentType) {
  return {200, std::move(contentType), std::move(body)};
}

MirrorReply BadRequest(const std::string& why) {
  return {400, "text/plain; charset=utf-8", "bad request: " + why + "\n"};
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// %XX escapes decoded; in a query "+" is a blank as well.
std::string Decode(std::string_view text, bool plusIsBlank) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += plusIsBlank && text[i] == '+' ? ' ' : text[i];
    }
  }
  return decoded;
}

// The query's parameters in their order, decoded.
std::vector<std::pair<std::string, std::string>> Parameters(std::string_view query) {
  std::vector<std::pair<std::string, std::string>> parameters;
  while (!query.empty()) {
    std::size_t amp = query.find('&');
    std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (pair.empty()) continue;
    std::size_t equals = pair.find('=');
    parameters.emplace_back(
        Decode(pair.substr(0, equals), true),
        equals == std::string_view::npos ? std::string() : Decode(pair.substr(equals + 1), true));
  }
  return parameters;
}

// The first value of the named parameter, empty when there is none.
std::string Value(const std::vector<std::pair<std::string, std::string>>& parameters,
                  std::string_view name) {
  for (const auto& [key, value] : parameters) {
    if (key == name) return value;
  }
  return {};
}

// The lottery's history page: "path?fixed=...&span=", the day span last.
std::string_view HistoryPath() {
  const std::string& page = MirroredLottery().sources.history;
  return std::string_view(page).substr(0, page.find('?'));
}

MirrorReply HistoryAnswer(MirrorSource& source, std::string_view query) {
  const std::string& page = MirroredLottery().sources.history;
  auto fixed = Parameters(std::string_view(page).substr(page.find('?') + 1));
  const std::string spanKey = fixed.back().first;
  fixed.pop_back();
  const auto parameters = Parameters(query);
  for (const auto& [key, value] : fixed) {
    if (Value(parameters, key) != value) return BadRequest(key);
  }
  const std::string span = Value(parameters, spanKey);
  const std::size_t underscore = span.find('_');
  if (underscore == std::string::npos) return BadRequest(spanKey);
  auto from = ParseDashedDate(std::string_view(span).substr(0, underscore));
  auto to = ParseDashedDate(std::string_view(span).substr(underscore + 1));
  if (!from || !to || *from != *to) return BadRequest(spanKey);
  return Page(HistoryPage(*from, source.DayDraws(*from)), "text/html; charset=gbk");
}

}  // namespace

MirrorReply Answer(MirrorSource& source, std::string_view target) {
  const std::size_t mark = target.find('?');
  const std::string path = Decode(target.substr(0, mark), false);
  const std::string_view query =
      mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
  const lottery::SourcePages& pages = MirroredLottery().sources;
  if (path == HistoryPath()) return HistoryAnswer(source, query);
  if (path == pages.firstFeed) {
    return Page(FirstFeed(source.Newest()), "text/xml; charset=gb2312");
  }
  if (path == pages.secondFeed) {
    return Page(SecondFeed(source.Newest()), "text/xml; charset=gb2312");
  }
  if (path == "/announcement.html") {
    return Page(AnnouncementPage(source.Newest()), "text/html; charset=utf-8");
  }
  if (path == "/assist/bonusvideo.aspx") {
    if (Value(Parameters(query), "lt") != "4") return BadRequest("lt");
    return Page(VideoPage("重庆时时彩", source.Newest()), "text/html; charset=utf-8");
  }
  if (path == "/jxssc/")
    return Page(VideoPage("江西时时彩", std::nullopt), "text/html; charset=utf-8");
  return {404, "", ""};
}

}  // namespace drawd
