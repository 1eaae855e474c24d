#pragma once

#include <string>

#include "base/waiter.h"
#include "net/body_conversion.h"

namespace net {

enum class HttpMethod { Get, Post };

// One HTTP request. Defaults are what the program's callers rely on: a plain
// GET with a 60 s limit.
struct WebRequest {
  std::string url{};  // "http://" is put in front when neither http:// nor https:// starts it
  HttpMethod method = HttpMethod::Get;
  std::string proxy{};    // host:port of an HTTP proxy for http addresses; empty = direct
  std::string headers{};  // extra request header lines, each ending with CR LF
  std::string postData{};
  std::string cookies{};  // name=value; name=value. Empty: the process cookie store is used
  int timeoutSeconds = 60;
  BodyConversion conversion = BodyConversion::None;  // the body becomes GBK
  bool followRedirects = true;
};

struct WebResponse {
  std::string body{};        // bytes as received (GBK pages stay GBK), or the timed-out text
  std::string rawHeaders{};  // the final response's header block, whole
  std::string newCookies{};  // "name=value;" for each Set-Cookie of the final response
  bool timedOut = false;
  // Empty when the whole answer arrived. Otherwise the request failed, and
  // body, headers and cookies are empty: nothing of a partial answer is used.
  std::string error{};
};

// Where a request goes: https on port 443 when "https://" appears anywhere in
// the url, otherwise http on the url's port.
struct RequestTarget {
  bool secure = false;
  std::string host;
  int port = 80;
  std::string path;
};
RequestTarget TargetOf(const std::string& url);

// The timed-out text, GBK bytes, returned as the body once the limit passes.
const std::string& TimedOutText();

// Performs the request through the one HTTP transfer. With a waiter (the
// window) the call processes the window's events while it waits; with
// nullptr (a worker thread) it simply blocks. After the limit the call
// returns the timed-out text at once; the transfer is cancelled behind it and
// its late answer dropped.
WebResponse WebAccess(const WebRequest& request, base::Waiter* waiter);

}  // namespace net
