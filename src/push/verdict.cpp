#include "push/verdict.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>

#include "base/text.h"
#include "push/outcome_text.h"

namespace push {
namespace {

using Json = nlohmann::json;
using std::chrono::seconds;

// A platform's message goes into a list cell: one short line.
constexpr size_t kMessageLimit = 120;
constexpr seconds kLongestRateLimitWait{60};

std::optional<long long> IntegerAt(const Json& json, const char* key) {
  if (!json.is_object()) return std::nullopt;
  const auto found = json.find(key);
  if (found == json.end() || !found->is_number_integer()) return std::nullopt;
  return found->get<long long>();
}

std::string StringAt(const Json& json, const char* key) {
  if (!json.is_object()) return {};
  const auto found = json.find(key);
  return found != json.end() && found->is_string() ? found->get<std::string>() : std::string();
}

bool TrueAt(const Json& json, const char* key) {
  if (!json.is_object()) return false;
  const auto found = json.find(key);
  return found != json.end() && found->is_boolean() && found->get<bool>();
}

// What the platform said in its own words.
struct Reply {
  std::optional<long long> code;
  const char* codeName = "";
  std::string message;
};

Reply ReplyOf(Platform platform, const Json& json) {
  switch (platform) {
    case Platform::kWecom:
    case Platform::kDingtalk:
      return {IntegerAt(json, "errcode"), "errcode", StringAt(json, "errmsg")};
    case Platform::kFeishu:
      return {IntegerAt(json, "code"), "code", StringAt(json, "msg")};
    case Platform::kTelegram:
      return {IntegerAt(json, "error_code"), "error_code", StringAt(json, "description")};
    case Platform::kWebhook:
      break;
  }
  return {};
}

bool Delivered(Platform platform, long status, const Json& json) {
  switch (platform) {
    case Platform::kWecom:
      return status == 200 && IntegerAt(json, "errcode") == 0;
    case Platform::kDingtalk:
      return IntegerAt(json, "errcode") == 0;
    case Platform::kFeishu:
      return IntegerAt(json, "code") == 0;
    case Platform::kTelegram:
      return TrueAt(json, "ok");
    case Platform::kWebhook:
      break;
  }
  return true;
}

// One line, at most kMessageLimit bytes, cut between characters.
std::string OneShortLine(std::string_view text) {
  std::string line;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    line += byte < 0x20 || byte == 0x7F ? ' ' : c;
  }
  line = std::string(base::Trim(line, " "));
  if (line.size() <= kMessageLimit) return line;
  size_t cut = kMessageLimit;
  while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
  return line.substr(0, cut) + "…";
}

// The platform's message with its code; the code alone when the message is
// empty or would give a token away.
std::string PlatformReason(const Reply& reply, const Group& group) {
  std::string message = OneShortLine(reply.message);
  if (RevealsSecret(message, group)) message.clear();
  std::string code;
  if (reply.code) code = std::string(reply.codeName) + " " + std::to_string(*reply.code);
  if (message.empty()) return code;
  return code.empty() ? message : message + "（" + code + "）";
}

std::string StatusReason(long status, const Reply& reply, const Group& group) {
  std::string reason = "HTTP " + std::to_string(status);
  const std::string said = PlatformReason(reply, group);
  return said.empty() ? reason : reason + " " + said;
}

std::string FailureReason(const HttpAnswer& answer) {
  switch (answer.failure) {
    case HttpAnswer::Failure::kRefused:
      return "连接被拒绝";
    case HttpAnswer::Failure::kTimedOut:
      return "超时";
    case HttpAnswer::Failure::kCertificate:
      return "证书验证失败";
    case HttpAnswer::Failure::kUnresolved:
      return "找不到主机";
    case HttpAnswer::Failure::kBroken:
      return "连接中断";
    case HttpAnswer::Failure::kOther:
    case HttpAnswer::Failure::kNone:
      break;
  }
  return "网络错误（curl " + std::to_string(answer.curlCode) + "）";
}

// Retry-After in seconds, or Telegram's parameters.retry_after.
std::chrono::milliseconds RateLimitWait(const HttpAnswer& answer, const Json& json) {
  std::optional<long long> asked;
  long long headerSeconds = 0;
  const std::string& header = answer.retryAfter;
  const auto parsed = std::from_chars(header.data(), header.data() + header.size(), headerSeconds);
  if (!header.empty() && parsed.ec == std::errc() && parsed.ptr == header.data() + header.size()) {
    asked = headerSeconds;
  } else if (json.is_object() && json.contains("parameters")) {
    asked = IntegerAt(json["parameters"], "retry_after");
  }
  if (!asked) return kLongestRateLimitWait;
  return seconds(std::clamp<long long>(*asked, 1, kLongestRateLimitWait.count()));
}

}  // namespace

Verdict JudgeAnswer(const Group& group, const HttpAnswer& answer) {
  using Kind = Verdict::Kind;
  if (answer.failure != HttpAnswer::Failure::kNone) {
    const bool refused = answer.failure == HttpAnswer::Failure::kRefused;
    return {refused ? Kind::kTransient : Kind::kFailed, {}, FailureReason(answer)};
  }
  const Json json = Json::parse(answer.body, nullptr, false);
  const Reply reply = ReplyOf(group.platform, json);
  const long status = answer.status;
  const bool wecomRateLimit =
      group.platform == Platform::kWecom && reply.code == 45009 && status == 200;
  if (status == 429 || wecomRateLimit) {
    return {Kind::kRateLimited, RateLimitWait(answer, json),
            status == 429 ? StatusReason(status, reply, group) : PlatformReason(reply, group)};
  }
  if (status >= 500 && status < 600)
    return {Kind::kTransient, {}, StatusReason(status, reply, group)};
  if (status < 200 || status >= 300) return {Kind::kFailed, {}, StatusReason(status, reply, group)};
  if (Delivered(group.platform, status, json)) return {Kind::kDelivered, {}, {}};
  if (json.is_discarded() || !reply.code || *reply.code == 0) {
    return {Kind::kFailed, {}, "HTTP " + std::to_string(status) + " 应答无法识别"};
  }
  return {Kind::kFailed, {}, PlatformReason(reply, group)};
}

RetryDecision DecideRetry(const Verdict& verdict, int attemptsMade) {
  if (attemptsMade >= 2) return {};
  switch (verdict.kind) {
    case Verdict::Kind::kTransient:
      return {true, seconds(2)};
    case Verdict::Kind::kRateLimited:
      return {true, verdict.rateLimitWait};
    case Verdict::Kind::kDelivered:
    case Verdict::Kind::kFailed:
      break;
  }
  return {};
}

}  // namespace push
