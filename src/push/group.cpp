#include "push/group.h"

#include <array>
#include <utility>

#include "base/text.h"

namespace push {

std::optional<Platform> PlatformNamed(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, Platform>, 5> kNames{{
      {"wecom", Platform::kWecom},
      {"dingtalk", Platform::kDingtalk},
      {"feishu", Platform::kFeishu},
      {"telegram", Platform::kTelegram},
      {"webhook", Platform::kWebhook},
  }};
  for (const auto& [text, platform] : kNames) {
    if (base::EqualsNoCase(text, name)) return platform;
  }
  return std::nullopt;
}

bool IsSendable(const Group& group) { return group.checked && group.configError.empty(); }

}  // namespace push
