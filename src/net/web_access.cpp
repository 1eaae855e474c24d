#include "net/web_access.h"

#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "base/capped_append.h"
#include "base/codepage.h"
#include "net/body_conversion.h"
#include "net/cookie_store.h"
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

std::string TrimBlanks(std::string_view text, const char* blanks = " ") {
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

bool Contains(std::string_view text, std::string_view word) {
  return FindNoCase(text, word) != std::string_view::npos;
}

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
    if (FindNoCase(line, name) == 0 && line.size() > name.size() && line[name.size()] == ':') {
      return true;
    }
  }
  return false;
}

// Everything the worker needs, fixed before it starts.
struct PreparedRequest {
  std::string url;        // as the caller's code sees it, scheme completed
  std::string curlUrl;    // scheme, host, port and path actually requested
  std::string cookieUrl;  // "http://" + host, where received cookies are kept
  bool post = false;
  std::string proxy;
  std::string userAgent;
  std::vector<std::string> headerLines;
  std::string postData;
  bool storeCookies = false;  // the caller gave none: the store sends and keeps them
  bool followRedirects = true;
};

// The header text as it goes out: the caller's lines completed with the
// defaults they lack, then the cookie line.
std::string CompleteHeaders(const WebRequest& request, const std::string& url, bool post) {
  std::string headers = request.headers;
  if (!Contains(headers, "Accept")) headers += kDefaultAcceptLine;
  if (Contains(headers, "RefererNo")) {
    size_t marker = headers.find("RefererNo");
    if (marker != std::string::npos) headers.erase(marker, 9);
  } else if (!Contains(headers, "Referer")) {
    headers += "Referer: " + url + "\r\n";
  }
  if (!Contains(headers, "Accept-Language")) headers += "Accept-Language: zh-cn\r\n";
  if (post && !request.postData.empty()) {
    if (!Contains(headers, "Content-Type")) {
      headers += "Content-Type: application/x-www-form-urlencoded\r\n";
    }
    if (!Contains(headers, "Content-Length")) {
      headers += "Content-Length: " + std::to_string(request.postData.size()) + "\r\n";
    }
  }
  if (!TrimBlanks(request.cookies).empty()) headers += "Cookie: " + request.cookies + "\r\n\r\n";
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
  prepared.url = url;
  prepared.post = request.method == HttpMethod::Post;
  const RequestTarget target = TargetOf(url);
  const bool secure = target.secure;
  prepared.curlUrl = std::string(secure ? "https://" : "http://") + target.host + ":" +
                     std::to_string(target.port) + EscapePath(target.path);
  prepared.cookieUrl = "http://" + target.host;
  // The proxy serves http addresses only ("http=" + proxy); https goes direct.
  std::string proxy = request.proxy;
  if (proxy.starts_with("http=")) proxy.erase(0, 5);
  if (!secure && !TrimBlanks(proxy).empty()) prepared.proxy = "http://" + TrimBlanks(proxy);

  prepared.userAgent = kDefaultUserAgent;
  if (Contains(request.headers, "User-Agent:")) {
    prepared.userAgent = TrimBlanks(TextBetween(request.headers, "User-Agent:", "\r\n"));
  }
  prepared.storeCookies = TrimBlanks(request.cookies).empty();
  prepared.followRedirects = request.followRedirects;
  prepared.postData = prepared.post ? request.postData : std::string();

  for (std::string& line : SplitLines(CompleteHeaders(request, url, prepared.post))) {
    if (!TrimBlanks(line, " \t").empty()) prepared.headerLines.push_back(std::move(line));
  }
  if (prepared.storeCookies) {
    std::string stored = ProcessCookieStore().CookieText(prepared.cookieUrl + UrlPath(url));
    if (!stored.empty()) prepared.headerLines.push_back("Cookie: " + stored);
  }
  // libcurl adds headers of its own that the request must not carry unless
  // the caller's text has them.
  for (const char* own : {"Accept", "Content-Type", "Expect"}) {
    if (!HasHeaderLine(prepared.headerLines, own))
      prepared.headerLines.push_back(std::string(own) + ":");
  }
  return prepared;
}

struct Received {
  std::string body;
  bool bodyLimitReached = false;
  std::vector<std::string> headerBlocks;  // one per response, redirects included
  bool blockClosed = true;
  const std::atomic<bool>* abort = nullptr;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  const size_t length = size * count;
  if (!base::AppendWithin(received.body, std::string_view(data, length), kBodyLimit)) {
    received.bodyLimitReached = true;
    return 0;  // ends the transfer; the body keeps what fitted
  }
  return length;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  std::string_view line(data, size * count);
  if (received.blockClosed && line.starts_with("HTTP/")) {
    received.headerBlocks.emplace_back();
    received.blockClosed = false;
  }
  if (received.headerBlocks.empty()) return line.size();
  received.headerBlocks.back() += line;
  if (line == "\r\n" || line == "\n") received.blockClosed = true;
  return line.size();
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Received*>(user)->abort->load() ? 1 : 0;
}

// The cookies an answer sets: "name=value;" per Set-Cookie line for the caller,
// and each cookie kept for the host.
std::string TakeCookies(const std::string& headers, const std::string& cookieUrl, bool toCaller) {
  std::string newCookies;
  for (const std::string& line : SplitLines(headers)) {
    size_t marker = FindNoCase(line, "Set-Cookie: ");
    if (marker == std::string::npos) continue;
    const std::string rest = TrimBlanks(line.substr(marker + 12), " \t");
    // A cookie without attributes has no ";": it is all name=value.
    size_t semicolon = rest.find(';');
    if (toCaller) newCookies += rest.substr(0, semicolon) + ";";
    size_t equals = rest.find('=');
    ProcessCookieStore().SetCookie(cookieUrl, rest.substr(0, equals),
                                   equals == std::string::npos ? "" : rest.substr(equals + 1));
  }
  return newCookies;
}

WebResponse Perform(const PreparedRequest& request, const std::atomic<bool>& abort) {
  WebResponse response;
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    response.error = "the HTTP library could not start a request";
    return response;
  }
  Received received;
  received.abort = &abort;
  curl_slist* headers = nullptr;
  for (const std::string& line : request.headerLines)
    headers = curl_slist_append(headers, line.c_str());
  char errorText[CURL_ERROR_SIZE] = {};

  curl_easy_setopt(curl, CURLOPT_URL, request.curlUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  // An explicit empty proxy also keeps the environment's proxy settings out.
  curl_easy_setopt(curl, CURLOPT_PROXY, request.proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_PROXYTYPE, CURLPROXY_HTTP);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, request.userAgent.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &received);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &received);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
  if (request.post) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(request.postData.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.postData.data());
  } else {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  }

  const CURLcode code = curl_easy_perform(curl);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  // The caller has gone with the timed-out text: a late answer leaves no trace,
  // not even its cookies.
  if (abort) return response;
  // An answer that did not arrive whole (a reset, fewer bytes than announced,
  // a header the library refused) is no answer: half a page read as a page
  // gives a list with a hole. Its cookies are not kept either.
  if (code != CURLE_OK && !received.bodyLimitReached) {
    response.error = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
    return response;
  }

  if (!received.headerBlocks.empty()) {
    for (size_t i = 0; i + 1 < received.headerBlocks.size(); ++i) {
      if (request.storeCookies) TakeCookies(received.headerBlocks[i], request.cookieUrl, false);
    }
    response.rawHeaders = received.headerBlocks.back();
    response.newCookies = TakeCookies(response.rawHeaders, request.cookieUrl, true);
  }
  response.body = std::move(received.body);
  return response;
}

// What the caller and its worker share. The worker only ever writes the
// answer and `done` under the mutex, and wakes the waiter while the caller
// is still there to be woken.
struct Transfer {
  std::atomic<bool> abort{false};
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  ui::Window* waiter = nullptr;
  WebResponse response;
};

void StartLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

RequestTarget TargetOf(const std::string& url) {
  RequestTarget target;
  target.secure = Contains(url, "https://");
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

WebResponse WebAccess(const WebRequest& request, ui::Window* waiter) {
  if (TrimBlanks(request.url, " \t\r\n").empty()) return {};
  const std::string url = CompleteUrlScheme(request.url);
  StartLibrary();

  auto transfer = std::make_shared<Transfer>();
  transfer->waiter = waiter;
  // Detached: a transfer past its limit is cancelled through `abort` and ends
  // on its own; nobody waits for it.
  std::thread([transfer, prepared = Prepare(request, url)] {
    WebResponse response = Perform(prepared, transfer->abort);
    std::lock_guard lock(transfer->mutex);
    transfer->response = std::move(response);
    transfer->done = true;
    if (transfer->waiter != nullptr) transfer->waiter->Wake();
    transfer->finished.notify_all();
  }).detach();

  const auto limit = std::chrono::seconds(std::max(request.timeoutSeconds, 0));
  const auto deadline = std::chrono::steady_clock::now() + limit;
  auto isDone = [&] {
    std::lock_guard lock(transfer->mutex);
    return transfer->done;
  };
  if (waiter != nullptr) {
    for (auto now = std::chrono::steady_clock::now(); !isDone() && now < deadline;
         now = std::chrono::steady_clock::now()) {
      waiter->WaitUntil(isDone, std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
    }
  }

  std::unique_lock lock(transfer->mutex);
  if (waiter == nullptr)
    transfer->finished.wait_until(lock, deadline, [&] { return transfer->done; });
  transfer->waiter = nullptr;
  if (!transfer->done) {
    transfer->abort = true;
    WebResponse timedOut;
    timedOut.body = TimedOutText();
    timedOut.timedOut = true;
    return timedOut;
  }
  WebResponse response = std::move(transfer->response);
  lock.unlock();
  switch (request.conversion) {
    case BodyConversion::None:
      break;
    case BodyConversion::Utf8ToGbk:
      response.body = Utf8ToGbk(response.body);
      break;
    case BodyConversion::Big5ToSimplifiedGbk:
      response.body = Big5ToSimplifiedGbk(response.body);
      break;
  }
  return response;
}

}  // namespace net
