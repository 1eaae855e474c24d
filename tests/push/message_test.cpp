#include "push/message.h"

#include <gtest/gtest.h>

#include "push/signing.h"

namespace push {
namespace {

using std::chrono::milliseconds;

const std::chrono::system_clock::time_point kNow{milliseconds(1700000000123)};

Group MakeGroup(Platform platform, std::string url, std::string secret = "",
                std::string chatId = "") {
  Group group;
  group.name = "群";
  group.platform = platform;
  group.url = std::move(url);
  group.secret = std::move(secret);
  group.chatId = std::move(chatId);
  return group;
}

TEST(Message, BodiesPerPlatform) {
  struct Case {
    Group group;
    std::string url;
    std::string body;
  };
  const std::string text = "重庆:059 期开[12345]\r\n\"引号\"\t\\";
  const std::string json = R"(重庆:059 期开[12345]\r\n\"引号\"\t\\)";
  const Case cases[] = {
      {MakeGroup(Platform::kWecom, "https://w/send?key=K"), "https://w/send?key=K",
       R"({"msgtype":"text","text":{"content":")" + json + R"("}})"},
      {MakeGroup(Platform::kDingtalk, "https://d/robot/send?access_token=T"),
       "https://d/robot/send?access_token=T",
       R"({"msgtype":"text","text":{"content":")" + json + R"("}})"},
      {MakeGroup(Platform::kFeishu, "https://f/hook/U"), "https://f/hook/U",
       R"({"msg_type":"text","content":{"text":")" + json + R"("}})"},
      {MakeGroup(Platform::kTelegram, "https://t/bot1:AB", "", "-1001"),
       "https://t/bot1:AB/sendMessage", R"({"chat_id":"-1001","text":")" + json + R"("})"},
      {MakeGroup(Platform::kTelegram, "https://t/bot1:AB/", "", "@chan"),
       "https://t/bot1:AB/sendMessage", R"({"chat_id":"@chan","text":")" + json + R"("})"},
      {MakeGroup(Platform::kWebhook, "http://h/x"), "http://h/x", R"({"text":")" + json + R"("})"},
      // a secret signs only dingtalk and feishu
      {MakeGroup(Platform::kWecom, "https://w/send?key=K", "S"), "https://w/send?key=K",
       R"({"msgtype":"text","text":{"content":")" + json + R"("}})"},
  };
  for (const Case& c : cases) {
    const Message message = BuildMessage(c.group, text, kNow);
    EXPECT_EQ(message.url, c.url);
    EXPECT_EQ(message.body, c.body) << c.url;
  }
}

TEST(Message, DingtalkSignsTheAddress) {
  const std::string sign = DingtalkSign("SEC", 1700000000123);
  EXPECT_EQ(
      BuildMessage(MakeGroup(Platform::kDingtalk, "https://d/robot/send?access_token=T", "SEC"),
                   "x", kNow)
          .url,
      "https://d/robot/send?access_token=T&timestamp=1700000000123&sign=" + sign);
  EXPECT_EQ(BuildMessage(MakeGroup(Platform::kDingtalk, "https://d/robot", "SEC"), "x", kNow).url,
            "https://d/robot?timestamp=1700000000123&sign=" + sign);
}

TEST(Message, FeishuSignsTheBody) {
  const Message message =
      BuildMessage(MakeGroup(Platform::kFeishu, "https://f/hook/U", "SEC"), "x", kNow);
  EXPECT_EQ(message.url, "https://f/hook/U");
  EXPECT_EQ(message.body,
            R"({"msg_type":"text","content":{"text":"x"},"timestamp":"1700000000","sign":")" +
                FeishuSign("SEC", 1700000000) + R"("})");
}

// A stray byte in the text still gives a message, never an exception.
TEST(Message, BrokenUtf8BecomesAReplacementCharacter) {
  const Message message = BuildMessage(MakeGroup(Platform::kWebhook, "http://h/"),
                                       "a\xff"
                                       "b",
                                       kNow);
  EXPECT_EQ(message.body,
            "{\"text\":\"a\xEF\xBF\xBD"
            "b\"}");
}

}  // namespace
}  // namespace push
