#include "push/group_send.h"

#include <ctime>
#include <optional>

#include "base/text.h"
#include "push/http_post.h"
#include "push/message.h"
#include "push/sent_record.h"
#include "push/split_text.h"
#include "push/verdict.h"

namespace push {
namespace {

TimeOfDay LocalTimeOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_hour, local.tm_min, local.tm_sec};
}

// One part, tried once more when the rules allow; why it failed, or nothing
// when it arrived.
std::optional<std::string> SendPiece(const Group& group, std::string_view part, Waiter& waiter,
                                     const SendOptions& options) {
  for (int attempts = 1;; ++attempts) {
    // Signed messages carry the time of their own attempt.
    const Message message = BuildMessage(group, part, std::chrono::system_clock::now());
    const Verdict verdict =
        JudgeAnswer(group, PostJson(message.url, message.body, waiter, options.timeout));
    if (verdict.kind == Verdict::Kind::kDelivered) return std::nullopt;
    const RetryDecision decision = DecideRetry(verdict, attempts);
    if (!decision.retry) return verdict.reason;
    waiter.Pause(decision.wait);
  }
}

}  // namespace

GroupOutcome SendToGroup(const Group& group, std::string_view text, Waiter& waiter,
                         const SendOptions& options, const std::function<void()>& onFirstDelivery) {
  const std::vector<std::string> parts = SplitText(text, LimitOf(group.platform));
  GroupOutcome outcome;
  outcome.parts = parts.size();
  for (const std::string& part : parts) {
    if (outcome.delivered > 0) waiter.Pause(options.partPause);
    if (std::optional<std::string> failure = SendPiece(group, part, waiter, options)) {
      outcome.failure = failure->empty() ? "发送未成功" : std::move(*failure);
      break;
    }
    if (++outcome.delivered == 1 && onFirstDelivery) onFirstDelivery();
  }
  return outcome;
}

std::string OutcomeText(const GroupOutcome& outcome, const Group& group, TimeOfDay at) {
  if (outcome.parts == 0) return NothingToSendText();
  if (outcome.failure.empty()) return SentText(at);
  std::string reason = outcome.failure;
  if (outcome.parts > 1) {
    reason += "（第 " + std::to_string(outcome.delivered + 1) + "/" +
              std::to_string(outcome.parts) + " 段）";
  }
  return FailedText(reason, group);
}

base::Status SendToGroups(const std::vector<Group>& groups, std::string_view text,
                          const std::optional<DrawMark>& draw, Waiter& waiter,
                          const SendOptions& options, const StatusSink& status) {
  if (base::Trim(text).empty()) {
    for (size_t row = 0; row < groups.size(); ++row) {
      if (IsSendable(groups[row])) status(row, NothingToSendText());
    }
    return base::Ok{};
  }
  SentRecord record;
  if (draw) {
    base::Result<SentRecord> read = ReadSentRecord(draw->record);
    if (!read) {
      for (size_t row = 0; row < groups.size(); ++row) {
        if (IsSendable(groups[row])) status(row, FailedText(read.error().message, groups[row]));
      }
      return read.error();
    }
    record = std::move(read.value());
  }

  base::Status result = base::Ok{};
  bool first = true;
  for (size_t row = 0; row < groups.size(); ++row) {
    const Group& group = groups[row];
    if (!IsSendable(group)) continue;
    if (draw) {
      const auto sent = record.find(group.name);
      if (sent != record.end() && sent->second == draw->issue) continue;
    }
    if (!first) waiter.Pause(options.groupPause);
    first = false;
    status(row, SendingText());
    auto remember = [&] {
      if (!draw) return;
      base::Status written = RecordSent(draw->record, group.name, draw->issue);
      if (!written) result = written;
    };
    const GroupOutcome outcome = SendToGroup(group, text, waiter, options, remember);
    status(row, OutcomeText(outcome, group, options.clock ? options.clock() : LocalTimeOfDay()));
  }
  return result;
}

}  // namespace push
