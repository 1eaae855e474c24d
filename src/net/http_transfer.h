#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "base/waiter.h"

namespace net {

// Why a transfer brought no whole answer.
enum class TransferFailure {
  kNone,         // an answer arrived (its body perhaps cut at the limit)
  kRefused,      // no connection (nothing was sent)
  kTimedOut,     // no whole answer within the time-out
  kCertificate,  // the https certificate is not trusted
  kUnresolved,   // the host name is unknown
  kBroken,       // the connection broke before the answer was whole
  kOther,        // anything else; the library's code tells
};

// One HTTP request as the library performs it. Certificates are always
// verified; only http and https are spoken.
struct TransferRequest {
  std::string url;
  // Sent as given; "Name:" keeps a header the library would add out.
  std::vector<std::string> headerLines;
  std::string userAgent;
  std::string proxy;  // "http://host:port"; empty: none, the environment's included
  bool post = false;
  std::string postData;
  bool followRedirects = false;  // at most 10, http and https only
  bool http11Only = false;
  // The body stops here: the transfer ends with what fitted, which counts as
  // an answer.
  std::size_t bodyLimit = 0;
  std::chrono::milliseconds timeout{0};
  // The library gives up at the time-out too, as a failure of its own, so a
  // transfer left behind ends by itself.
  bool libraryTimeout = false;
};

struct TransferAnswer {
  // The time-out passed first: nothing else is set, and the transfer is
  // cancelled behind the caller.
  bool timedOut = false;
  TransferFailure failure = TransferFailure::kNone;
  int libraryCode = 0;
  std::string errorText;                  // the library's words for a failure
  long status = 0;                        // of the last response, 0 when none came
  std::vector<std::string> headerBlocks;  // one per response, redirects and interim ones included
  std::string body;
  bool bodyCut = false;
};

// Performs the request on a thread of its own while the caller waits through
// the waiter; with nullptr the caller simply blocks. The answer counts only
// when it is whole before the time-out; a late one is dropped.
TransferAnswer Transfer(const TransferRequest& request, base::Waiter* waiter);

}  // namespace net
