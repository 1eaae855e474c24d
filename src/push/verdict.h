#pragma once

#include <chrono>
#include <string>

#include "push/group.h"
#include "push/http_post.h"

namespace push {

// What one answer means for the part it answers.
struct Verdict {
  enum class Kind {
    kDelivered,
    kFailed,       // final: 4xx, platform error, time-out, broken answer
    kTransient,    // refused or 5xx: worth one more try
    kRateLimited,  // 429 or wecom errcode 45009
  };
  Kind kind = Kind::kFailed;
  std::chrono::milliseconds rateLimitWait{0};  // for kRateLimited
  std::string reason;  // why not delivered; never any piece of the url or secret
};

// Judges the answer by the group's platform: wecom HTTP 200 with errcode 0,
// dingtalk errcode 0, feishu code 0, telegram "ok":true, webhook any 2xx.
Verdict JudgeAnswer(const Group& group, const HttpAnswer& answer);

struct RetryDecision {
  bool retry = false;
  std::chrono::milliseconds wait{0};  // before the retry
};

// A part is tried at most twice: a transient failure again after 2 s, a rate
// limit after the wait it asked for (1 to 60 s, 60 s when it named none);
// anything else never.
RetryDecision DecideRetry(const Verdict& verdict, int attemptsMade);

}  // namespace push
