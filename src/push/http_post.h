#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "net/http_transfer.h"
#include "push/waiter.h"

namespace push {

// What came back from one POST.
struct HttpAnswer {
  using Failure = net::TransferFailure;  // kNone: status, headers and body arrived
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
// url through the one HTTP transfer: certificates verified, redirects not
// followed (a 3xx is the answer), no proxy. The caller waits through the
// waiter; at the time-out the call returns, and the transfer is cancelled
// behind it.
HttpAnswer PostJson(const std::string& url, const std::string& body, Waiter& waiter,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace push
