#include "net/web_access.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "base/codepage.h"
#include "base/text.h"
#include "net/body_conversion.h"
#include "net/cookie_store.h"
#include "net/http_transfer.h"
#include "net/url_text.h"

namespace net {
namespace {

const char kDefaultUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
const char kDefaultAcceptLine[] =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

// A page is a few kilobytes; a body beyond this is not one of ours, and
// reading on would only exhaust memory. The read stops here and what arrived
// so far is the body.
constexpr size_t kBodyLimit = 32u << 20;

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(at, end - at));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    at = end + 1;
  }
  return lines;
}

bool HasHeaderLine(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    if (base::StartsWithNoCase(line, name) && line.size() > name.size() &&
        line[name.size()] == ':') {
      return true;
    }
  }
  return false;
}

// Everything the transfer needs, fixed before it starts.
struct PreparedRequest {
  TransferRequest transfer;
  std::string cookieUrl;      // "http://" + host, where received cookies are kept
  bool storeCookies = false;  // the caller gave none: the store sends and keeps them
};

// The header text as it goes out: the caller's lines completed with the
// defaults they lack, then the cookie line.
std::string CompleteHeaders(const WebRequest& request, const std::string& url, bool post) {
  std::string headers = request.headers;
  if (!base::ContainsNoCase(headers, "Accept")) headers += kDefaultAcceptLine;
  if (base::ContainsNoCase(headers, "RefererNo")) {
    size_t marker = headers.find("RefererNo");
    if (marker != std::string::npos) headers.erase(marker, 9);
  } else if (!base::ContainsNoCase(headers, "Referer")) {
    headers += "Referer: " + url + "\r\n";
  }
  if (!base::ContainsNoCase(headers, "Accept-Language")) headers += "Accept-Language: zh-cn\r\n";
  if (post && !request.postData.empty()) {
    if (!base::ContainsNoCase(headers, "Content-Type")) {
      headers += "Content-Type: application/x-www-form-urlencoded\r\n";
    }
    if (!base::ContainsNoCase(headers, "Content-Length")) {
      headers += "Content-Length: " + std::to_string(request.postData.size()) + "\r\n";
    }
  }
  if (!base::Trim(request.cookies, " ").empty())
    headers += "Cookie: " + request.cookies + "\r\n\r\n";
  return headers;
}

// Bytes a request line cannot carry (blanks, controls, GBK) are escaped.
std::string EscapePath(std::string_view path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : path) {
    auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out;
}

PreparedRequest Prepare(const WebRequest& request, const std::string& url) {
  PreparedRequest prepared;
  TransferRequest& transfer = prepared.transfer;
  transfer.post = request.method == HttpMethod::Post;
  const RequestTarget target = TargetOf(url);
  const bool secure = target.secure;
  transfer.url = std::string(secure ? "https://" : "http://") + target.host + ":" +
                 std::to_string(target.port) + EscapePath(target.path);
  prepared.cookieUrl = "http://" + target.host;
  // The proxy serves http addresses only ("http=" + proxy); https goes direct.
  std::string_view proxy = request.proxy;
  if (proxy.starts_with("http=")) proxy.remove_prefix(5);
  proxy = base::Trim(proxy, " ");
  if (!secure && !proxy.empty()) transfer.proxy = "http://" + std::string(proxy);

  transfer.userAgent = kDefaultUserAgent;
  if (base::ContainsNoCase(request.headers, "User-Agent:")) {
    transfer.userAgent = base::Trim(TextBetween(request.headers, "User-Agent:", "\r\n"), " ");
  }
  prepared.storeCookies = base::Trim(request.cookies, " ").empty();
  transfer.followRedirects = request.followRedirects;
  transfer.postData = transfer.post ? request.postData : std::string();

  for (std::string& line : SplitLines(CompleteHeaders(request, url, transfer.post))) {
    if (!base::Trim(line, " \t").empty()) transfer.headerLines.push_back(std::move(line));
  }
  if (prepared.storeCookies) {
    std::string stored = ProcessCookieStore().CookieText(prepared.cookieUrl + UrlPath(url));
    if (!stored.empty()) transfer.headerLines.push_back("Cookie: " + stored);
  }
  // libcurl adds headers of its own that the request must not carry unless
  // the caller's text has them.
  for (const char* own : {"Accept", "Content-Type", "Expect"}) {
    if (!HasHeaderLine(transfer.headerLines, own))
      transfer.headerLines.push_back(std::string(own) + ":");
  }
  transfer.http11Only = true;
  transfer.bodyLimit = kBodyLimit;
  transfer.timeout = std::chrono::seconds(std::max(request.timeoutSeconds, 0));
  return prepared;
}

// The cookies an answer sets: "name=value;" per Set-Cookie line for the caller,
// and each cookie kept for the host.
std::string TakeCookies(const std::string& headers, const std::string& cookieUrl, bool toCaller) {
  std::string newCookies;
  for (const std::string& line : SplitLines(headers)) {
    size_t marker = base::FindNoCase(line, "Set-Cookie: ");
    if (marker == std::string::npos) continue;
    const std::string rest(base::Trim(std::string_view(line).substr(marker + 12), " \t"));
    // A cookie without attributes has no ";": it is all name=value.
    size_t semicolon = rest.find(';');
    if (toCaller) newCookies += rest.substr(0, semicolon) + ";";
    size_t equals = rest.find('=');
    ProcessCookieStore().SetCookie(cookieUrl, rest.substr(0, equals),
                                   equals == std::string::npos ? "" : rest.substr(equals + 1));
  }
  return newCookies;
}

}  // namespace

RequestTarget TargetOf(const std::string& url) {
  RequestTarget target;
  target.secure = base::ContainsNoCase(url, "https://");
  target.host = UrlHost(url);
  target.port = target.secure ? 443 : UrlPort(url);
  target.path = UrlPath(url);
  return target;
}

const std::string& TimedOutText() {
  static const std::string text = base::Utf8ToGbk(
                                      "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参"
                                      "数中的＂超时返回＂的值设置长一些。")
                                      .value();
  return text;
}

WebResponse WebAccess(const WebRequest& request, base::Waiter* waiter) {
  if (base::Trim(request.url).empty()) return {};
  const PreparedRequest prepared = Prepare(request, CompleteUrlScheme(request.url));
  TransferAnswer answer = Transfer(prepared.transfer, waiter);
  WebResponse response;
  if (answer.timedOut) {
    response.body = TimedOutText();
    response.timedOut = true;
    return response;
  }
  // An answer that did not arrive whole (a reset, fewer bytes than announced,
  // a header the library refused) is no answer: half a page read as a page
  // gives a list with a hole. Its cookies are not kept either.
  if (answer.failure != TransferFailure::kNone) {
    response.error = std::move(answer.errorText);
    return response;
  }
  const std::vector<std::string>& blocks = answer.headerBlocks;
  if (!blocks.empty()) {
    for (size_t i = 0; i + 1 < blocks.size(); ++i) {
      if (prepared.storeCookies) TakeCookies(blocks[i], prepared.cookieUrl, false);
    }
    response.rawHeaders = blocks.back();
    response.newCookies = TakeCookies(response.rawHeaders, prepared.cookieUrl, true);
  }
  switch (request.conversion) {
    case BodyConversion::None:
      response.body = std::move(answer.body);
      break;
    case BodyConversion::Utf8ToGbk:
      response.body = Utf8ToGbk(answer.body);
      break;
    case BodyConversion::Big5ToSimplifiedGbk:
      response.body = Big5ToSimplifiedGbk(answer.body);
      break;
  }
  return response;
}

}  // namespace net
