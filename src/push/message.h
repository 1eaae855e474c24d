#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "push/group.h"

namespace push {

// One POST of one part: where it goes and its JSON body (UTF-8).
struct Message {
  std::string url;
  std::string body;
};

// The platform's message for one part of text. A signing secret stamps it
// with `now`: dingtalk on the address (&timestamp=T&sign=S, milliseconds),
// feishu in the body ("timestamp" in seconds, "sign").
Message BuildMessage(const Group& group, std::string_view text,
                     std::chrono::system_clock::time_point now);

}  // namespace push
