#include "net/http_transfer.h"

#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "base/capped_append.h"

namespace net {
namespace {

struct Received {
  TransferAnswer answer;
  std::size_t bodyLimit = 0;
  bool blockClosed = true;
  const std::atomic<bool>* abort = nullptr;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  const size_t length = size * count;
  if (!base::AppendWithin(received.answer.body, std::string_view(data, length),
                          received.bodyLimit)) {
    received.answer.bodyCut = true;
    return 0;  // ends the transfer; the body keeps what fitted
  }
  return length;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  std::vector<std::string>& blocks = received.answer.headerBlocks;
  std::string_view line(data, size * count);
  if (received.blockClosed && line.starts_with("HTTP/")) {
    blocks.emplace_back();
    received.blockClosed = false;
  }
  if (blocks.empty()) return line.size();
  blocks.back() += line;
  if (line == "\r\n" || line == "\n") received.blockClosed = true;
  return line.size();
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Received*>(user)->abort->load() ? 1 : 0;
}

TransferFailure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return TransferFailure::kNone;
    case CURLE_COULDNT_CONNECT:
      return TransferFailure::kRefused;
    case CURLE_OPERATION_TIMEDOUT:
      return TransferFailure::kTimedOut;
    case CURLE_PEER_FAILED_VERIFICATION:
      return TransferFailure::kCertificate;
    case CURLE_COULDNT_RESOLVE_HOST:
      return TransferFailure::kUnresolved;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
      return TransferFailure::kBroken;
    default:
      return TransferFailure::kOther;
  }
}

void SetOptions(CURL* curl, const TransferRequest& request, curl_slist* headers, Received& received,
                char* errorText) {
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  if (request.http11Only) curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  // An explicit empty proxy also keeps the environment's proxy settings out.
  curl_easy_setopt(curl, CURLOPT_PROXY, request.proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_PROXYTYPE, CURLPROXY_HTTP);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (request.libraryTimeout) {
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout.count()));
  }
  curl_easy_setopt(curl, CURLOPT_USERAGENT, request.userAgent.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  if (request.post) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(request.postData.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.postData.data());
  } else {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  }
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &received);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &received);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
}

TransferAnswer Perform(const TransferRequest& request, const std::atomic<bool>& abort) {
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    TransferAnswer answer;
    answer.failure = TransferFailure::kOther;
    answer.errorText = "the HTTP library could not start a request";
    return answer;
  }
  Received received;
  received.bodyLimit = request.bodyLimit;
  received.abort = &abort;
  curl_slist* headers = nullptr;
  for (const std::string& line : request.headerLines) {
    headers = curl_slist_append(headers, line.c_str());
  }
  char errorText[CURL_ERROR_SIZE] = {};
  SetOptions(curl, request, headers, received, errorText);

  const CURLcode code = curl_easy_perform(curl);
  TransferAnswer& answer = received.answer;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  answer.libraryCode = static_cast<int>(code);
  // A body stopped at its limit is an answer, cut; anything else that did not
  // arrive whole (a reset, fewer bytes than announced) is a failure.
  if (code != CURLE_OK && !answer.bodyCut) {
    answer.failure = FailureOf(code);
    answer.errorText = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
  }
  return std::move(answer);
}

// What the caller and the transfer's thread share. The thread writes the
// answer and `done` under the mutex only, and wakes the waiter only while the
// caller still waits.
struct Shared {
  std::atomic<bool> abort{false};
  std::mutex mutex;
  bool done = false;
  base::Waiter* waiter = nullptr;
  TransferAnswer answer;
};

void StartLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

TransferAnswer Transfer(const TransferRequest& request, base::Waiter* waiter) {
  StartLibrary();
  base::BlockingWaiter blocking;
  base::Waiter& wait = waiter != nullptr ? *waiter : blocking;
  auto shared = std::make_shared<Shared>();
  shared->waiter = &wait;
  // Detached: a transfer past its time-out is cancelled through `abort` and
  // ends on its own; nobody waits for it.
  std::thread([shared, request] {
    TransferAnswer answer = Perform(request, shared->abort);
    std::lock_guard lock(shared->mutex);
    shared->answer = std::move(answer);
    shared->done = true;
    if (shared->waiter != nullptr) shared->waiter->Wake();
  }).detach();

  auto isDone = [&] {
    std::lock_guard lock(shared->mutex);
    return shared->done;
  };
  const auto deadline = std::chrono::steady_clock::now() + request.timeout;
  for (auto now = std::chrono::steady_clock::now(); !isDone() && now < deadline;
       now = std::chrono::steady_clock::now()) {
    wait.WaitUntil(isDone, std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
  }

  std::lock_guard lock(shared->mutex);
  shared->waiter = nullptr;
  if (!shared->done) {
    shared->abort = true;
    TransferAnswer timedOut;
    timedOut.timedOut = true;
    return timedOut;
  }
  return std::move(shared->answer);
}

}  // namespace net
