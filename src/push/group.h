#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace push {

// The chat platforms whose bot webhooks a group can be reached through.
enum class Platform { kWecom, kDingtalk, kFeishu, kTelegram, kWebhook };

// "wecom", "dingtalk", "feishu", "telegram", "webhook" (ASCII case ignored).
std::optional<Platform> PlatformNamed(std::string_view name);

// One section of push.ini. A group with a configError is listed but never
// sent to.
struct Group {
  std::string name;  // the section name
  Platform platform = Platform::kWebhook;
  std::string url;
  std::string secret;  // signing secret (dingtalk, feishu); empty = unsigned
  std::string chatId;  // telegram
  bool checked = false;
  std::string configError;  // "配置错误：<what>", empty when the group can be sent to
};

// Whether the group is to be sent to: checked and well configured.
bool IsSendable(const Group& group);

}  // namespace push
