#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "push/waiter.h"

namespace push {

// What came back from one POST.
struct HttpAnswer {
  enum class Failure {
    kNone,         // an answer arrived: status, headers, body
    kRefused,      // no connection (nothing was sent)
    kTimedOut,     // no whole answer within the time-out
    kCertificate,  // the https certificate is not trusted
    kUnresolved,   // the host name is unknown
    kBroken,       // the connection broke before the answer was whole
    kOther,        // anything else; curlCode tells
  };
  Failure failure = Failure::kNone;
  long status = 0;
  std::string body;  // at most kAnswerLimit bytes
  bool bodyCut = false;
  std::string retryAfter;  // the Retry-After header's value, empty when none
  int curlCode = 0;
};

// An answer is a short JSON object; reading stops here.
inline constexpr std::size_t kAnswerLimit = 64 * 1024;

// POSTs the JSON body (Content-Type: application/json) to an http or https
// url: certificates verified, redirects not followed (a 3xx is the answer),
// no proxy. The request runs on its own thread while the caller waits through
// the waiter; at the time-out the call returns, and the transfer is cancelled
// behind it.
HttpAnswer PostJson(const std::string& url, const std::string& body, Waiter& waiter,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace push
