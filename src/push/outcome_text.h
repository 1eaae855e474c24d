#pragma once

#include <string>
#include <string_view>

#include "push/group.h"

namespace push {

// The texts of a group's 状态 column.

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

const std::string& SendingText();        // "发送中…"
const std::string& NothingToSendText();  // "没有可发送的内容"
std::string SentText(TimeOfDay at);      // "已发送 HH:MM:SS"

// Whether the status says the group was not reached: "失败：…".
bool IsFailedText(std::string_view status);

// "失败：<reason>". A reason that would show any piece of the group's url
// (its token) or secret is replaced by a plain one.
std::string FailedText(std::string_view reason, const Group& group);

// Whether the text shows the group's secret, its url, or eight characters in
// a row of either's longer letter-and-digit runs (a token, whole or cut).
bool RevealsSecret(std::string_view text, const Group& group);

}  // namespace push
