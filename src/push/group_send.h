#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "push/group.h"
#include "push/outcome_text.h"
#include "push/waiter.h"

namespace push {

struct SendOptions {
  std::chrono::milliseconds partPause{0};   // between two parts for one group (发送等待)
  std::chrono::milliseconds groupPause{0};  // between two groups (群间等待)
  std::chrono::milliseconds timeout = std::chrono::seconds(10);  // per request
  std::function<TimeOfDay()> clock;  // stamps 已发送; the local time when empty
};

// How sending one text to one group went.
struct GroupOutcome {
  std::size_t parts = 0;
  std::size_t delivered = 0;
  std::string failure;  // empty when every part went; free of the url and secret
};

// Sends the text to the group, split for its platform, part after part in
// order, each tried by the retry rules; stops at the first part that fails.
// onFirstDelivery runs as soon as a part has arrived.
GroupOutcome SendToGroup(const Group& group, std::string_view text, Waiter& waiter,
                         const SendOptions& options,
                         const std::function<void()>& onFirstDelivery = {});

// The 状态 text: "已发送 HH:MM:SS" or "失败：<reason>" (with the failing part
// when there were several); "没有可发送的内容" when the text had no part.
std::string OutcomeText(const GroupOutcome& outcome, const Group& group, TimeOfDay at);

// The draw a text belongs to, for sending each draw's text at most once.
struct DrawMark {
  std::string issue;
  std::filesystem::path record;  // the sent record (see sent_record.h)
};

// row, 状态 text: called with "发送中…" before a group and its outcome after.
using StatusSink = std::function<void(std::size_t row, const std::string& status)>;

// Sends the text to every sendable group (checked, well configured) in list
// order, pausing between groups. A blank text sends nothing: those rows get
// "没有可发送的内容". With a draw, groups the record shows as sent this issue
// are passed over, and a group is recorded once a part has reached it. An
// error tells that the record could not be read (nothing sent) or written.
base::Status SendToGroups(const std::vector<Group>& groups, std::string_view text,
                          const std::optional<DrawMark>& draw, Waiter& waiter,
                          const SendOptions& options, const StatusSink& status);

}  // namespace push
