#include "push/http_post.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "base/text.h"

namespace push {
namespace {

// The Retry-After of the final answer; an interim answer's is not ours.
std::string RetryAfterOf(const std::vector<std::string>& headerBlocks) {
  if (headerBlocks.empty()) return {};
  constexpr std::string_view kRetryAfter = "Retry-After:";
  std::string_view block = headerBlocks.back();
  std::string value;
  while (!block.empty()) {
    const size_t end = std::min(block.find('\n'), block.size());
    const std::string_view line = block.substr(0, end);
    block.remove_prefix(std::min(end + 1, block.size()));
    if (base::StartsWithNoCase(line, kRetryAfter)) {
      value = base::Trim(line.substr(kRetryAfter.size()));
    }
  }
  return value;
}

}  // namespace

HttpAnswer PostJson(const std::string& url, const std::string& body, Waiter& waiter,
                    std::chrono::milliseconds timeout) {
  const net::TransferRequest request{
      .url = url,
      // A body over 1 KiB would otherwise wait for "100 Continue" first.
      .headerLines = {"Content-Type: application/json", "Expect:"},
      .userAgent = "lanzhou",
      .proxy = {},  // the webhooks are reached directly, whatever the environment says
      .post = true,
      .postData = body,
      .bodyLimit = kAnswerLimit,
      .timeout = timeout,
      .libraryTimeout = true,
  };
  net::TransferAnswer transferred = net::Transfer(request, &waiter);

  HttpAnswer answer;
  if (transferred.timedOut) {
    answer.failure = HttpAnswer::Failure::kTimedOut;
    return answer;
  }
  answer.failure = transferred.failure;
  answer.status = transferred.status;
  answer.body = std::move(transferred.body);
  answer.bodyCut = transferred.bodyCut;
  answer.retryAfter = RetryAfterOf(transferred.headerBlocks);
  answer.curlCode = transferred.libraryCode;
  return answer;
}

}  // namespace push
