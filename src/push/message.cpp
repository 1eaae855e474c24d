#include "push/message.h"

#include <nlohmann/json.hpp>

#include "push/signing.h"

namespace push {
namespace {

using Json = nlohmann::ordered_json;

// Text from the window is UTF-8; a stray byte becomes U+FFFD rather than
// stopping the message.
std::string Dump(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

template <typename Unit>
std::int64_t Since1970(std::chrono::system_clock::time_point now) {
  return std::chrono::duration_cast<Unit>(now.time_since_epoch()).count();
}

}  // namespace

Message BuildMessage(const Group& group, std::string_view text,
                     std::chrono::system_clock::time_point now) {
  Message message{group.url, {}};
  switch (group.platform) {
    case Platform::kWecom:
    case Platform::kDingtalk:
      message.body = Dump(Json{{"msgtype", "text"}, {"text", Json{{"content", text}}}});
      if (group.platform == Platform::kDingtalk && !group.secret.empty()) {
        const std::int64_t stamp = Since1970<std::chrono::milliseconds>(now);
        message.url += group.url.find('?') == std::string::npos ? '?' : '&';
        message.url +=
            "timestamp=" + std::to_string(stamp) + "&sign=" + DingtalkSign(group.secret, stamp);
      }
      break;
    case Platform::kFeishu: {
      Json body{{"msg_type", "text"}, {"content", Json{{"text", text}}}};
      if (!group.secret.empty()) {
        const std::int64_t stamp = Since1970<std::chrono::seconds>(now);
        body["timestamp"] = std::to_string(stamp);
        body["sign"] = FeishuSign(group.secret, stamp);
      }
      message.body = Dump(body);
      break;
    }
    case Platform::kTelegram:
      if (message.url.ends_with('/')) message.url.pop_back();
      message.url += "/sendMessage";
      message.body = Dump(Json{{"chat_id", group.chatId}, {"text", text}});
      break;
    case Platform::kWebhook:
      message.body = Dump(Json{{"text", text}});
      break;
  }
  return message;
}

}  // namespace push
