#include "push/http_post.h"

#include <curl/curl.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "base/capped_append.h"
#include "push/ascii_case.h"

namespace push {
namespace {

struct Received {
  std::string body;
  bool bodyCut = false;
  std::string retryAfter;
  const std::atomic<bool>* abort = nullptr;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  const size_t length = size * count;
  if (!base::AppendWithin(received.body, std::string_view(data, length), kAnswerLimit)) {
    received.bodyCut = true;
    return 0;  // ends the transfer; the answer is what fitted
  }
  return length;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) received.retryAfter.clear();  // an interim answer's is not ours
  constexpr std::string_view kRetryAfter = "Retry-After:";
  if (StartsWithNoCase(line, kRetryAfter)) {
    line.remove_prefix(kRetryAfter.size());
    const size_t first = line.find_first_not_of(" \t\r\n");
    const size_t last = line.find_last_not_of(" \t\r\n");
    received.retryAfter =
        first == std::string_view::npos ? "" : std::string(line.substr(first, last - first + 1));
  }
  return size * count;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Received*>(user)->abort->load() ? 1 : 0;
}

HttpAnswer::Failure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_CONNECT:
      return HttpAnswer::Failure::kRefused;
    case CURLE_OPERATION_TIMEDOUT:
      return HttpAnswer::Failure::kTimedOut;
    case CURLE_PEER_FAILED_VERIFICATION:
      return HttpAnswer::Failure::kCertificate;
    case CURLE_COULDNT_RESOLVE_HOST:
      return HttpAnswer::Failure::kUnresolved;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
      return HttpAnswer::Failure::kBroken;
    default:
      return HttpAnswer::Failure::kOther;
  }
}

HttpAnswer Perform(const std::string& url, const std::string& body,
                   std::chrono::milliseconds timeout, const std::atomic<bool>& abort) {
  HttpAnswer answer;
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    answer.failure = HttpAnswer::Failure::kOther;
    return answer;
  }
  Received received;
  received.abort = &abort;
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, "Content-Type: application/json");
  // A body over 1 KiB would otherwise wait for "100 Continue" first.
  headers = curl_slist_append(headers, "Expect:");

  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  // The webhooks are reached directly; the environment's proxy settings stay out.
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "lanzhou");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &received);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &received);

  const CURLcode code = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);

  answer.body = std::move(received.body);
  answer.bodyCut = received.bodyCut;
  answer.retryAfter = std::move(received.retryAfter);
  answer.curlCode = static_cast<int>(code);
  if (code != CURLE_OK && !received.bodyCut) answer.failure = FailureOf(code);
  return answer;
}

// What the caller and the request's thread share. The thread writes the
// answer and `done` under the mutex only, and wakes the waiter only while the
// caller still waits.
struct Transfer {
  std::atomic<bool> abort{false};
  std::mutex mutex;
  bool done = false;
  Waiter* waiter = nullptr;
  HttpAnswer answer;
};

void StartLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

HttpAnswer PostJson(const std::string& url, const std::string& body, Waiter& waiter,
                    std::chrono::milliseconds timeout) {
  StartLibrary();
  auto transfer = std::make_shared<Transfer>();
  transfer->waiter = &waiter;
  // Detached: a request past its time-out is cancelled through `abort` and
  // ends on its own; nobody waits for it.
  std::thread([transfer, url, body, timeout] {
    HttpAnswer answer = Perform(url, body, timeout, transfer->abort);
    std::lock_guard lock(transfer->mutex);
    transfer->answer = std::move(answer);
    transfer->done = true;
    if (transfer->waiter != nullptr) transfer->waiter->Wake();
  }).detach();

  auto isDone = [&] {
    std::lock_guard lock(transfer->mutex);
    return transfer->done;
  };
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (auto now = std::chrono::steady_clock::now(); !isDone() && now < deadline;
       now = std::chrono::steady_clock::now()) {
    waiter.WaitUntil(isDone, std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
  }

  std::lock_guard lock(transfer->mutex);
  transfer->waiter = nullptr;
  if (!transfer->done) {
    transfer->abort = true;
    HttpAnswer timedOut;
    timedOut.failure = HttpAnswer::Failure::kTimedOut;
    return timedOut;
  }
  return std::move(transfer->answer);
}

}  // namespace push
