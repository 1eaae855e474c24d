#include "push/group_send.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <thread>

#include "net/raw_server.h"
#include "push/http_post.h"
#include "push/sent_record.h"
#include "push/split_text.h"
#include "push_harness.h"
#include "temp_dir.h"

namespace push {
namespace {

using namespace std::chrono_literals;
using push_test::ClockWaiter;
using push_test::PlatformServer;
using push_test::Received;
using push_test::RefusingPort;
using push_test::SelfSignedServer;
using Json = nlohmann::json;
using Pauses = std::vector<std::chrono::milliseconds>;

const char kWecomKey[] = "693a91f6-7a2b-4c3d-9e8f-wecomKEY0001";
const char kDingtalkToken[] = "dingTOKEN5f3e2d1c0b9a8f7e6d5c4b3a";
const char kDingtalkSecret[] = "SECding0123456789abcdef";
const char kFeishuHook[] = "feishuHOOK-0c2d-4e6f-8a0b";
const char kFeishuSecret[] = "feishuSECRET98765";
const char kTelegramToken[] = "123456789:AAHtelegramTOKENxyz";
const char kWebhookToken[] = "webhookTOKEN42abcdef";

const char kText[] = "重庆:20240101-059 期开[12345]\r\n前三 \"组六\" 0126\r\n";
const char kTextJson[] = R"(重庆:20240101-059 期开[12345]\r\n前三 \"组六\" 0126\r\n)";

const TimeOfDay kClock{12, 34, 56};

// One scripted answer of a platform imitation.
struct Scripted {
  int status = 200;
  std::string body;
  httplib::Headers headers{};
};

// Answers the n-th request with the n-th script line; the last one repeats.
PlatformServer::Answer Script(std::vector<Scripted> lines) {
  auto next = std::make_shared<std::atomic<size_t>>(0);
  return [lines = std::move(lines), next](const Received&, httplib::Response& response) {
    const Scripted& line = lines[std::min(next->fetch_add(1), lines.size() - 1)];
    response.status = line.status;
    for (const auto& [name, value] : line.headers) response.set_header(name, value);
    response.set_content(line.body, "application/json");
  };
}

class GroupSendTest : public ::testing::Test {
 protected:
  // Every status text any test produced must be free of every token and
  // secret the tests handed out.
  void TearDown() override {
    const std::string secrets[] = {kWecomKey,     kDingtalkToken, kDingtalkSecret, kFeishuHook,
                                   kFeishuSecret, kTelegramToken, kWebhookToken,   "127.0.0.1"};
    for (const auto& [row, text] : statuses_) {
      for (const std::string& secret : secrets) {
        EXPECT_EQ(text.find(secret), std::string::npos) << text;
      }
    }
  }

  static Group MakeGroup(std::string name, Platform platform, std::string url,
                         std::string secret = "", std::string chatId = "") {
    Group group;
    group.name = std::move(name);
    group.platform = platform;
    group.url = std::move(url);
    group.secret = std::move(secret);
    group.chatId = std::move(chatId);
    group.checked = true;
    return group;
  }

  SendOptions Options(std::chrono::milliseconds timeout = 10s) {
    SendOptions options;
    options.partPause = 3s;
    options.groupPause = 5s;
    options.timeout = timeout;
    options.clock = [] { return kClock; };
    return options;
  }

  StatusSink Sink() {
    return [this](size_t row, const std::string& text) { statuses_.emplace_back(row, text); };
  }

  base::Status Send(const std::vector<Group>& groups, const std::string& text,
                    const std::optional<DrawMark>& draw = std::nullopt,
                    std::chrono::milliseconds timeout = 10s) {
    return SendToGroups(groups, text, draw, waiter_, Options(timeout), Sink());
  }

  // The last status of each row.
  std::map<size_t, std::string> Final() const {
    std::map<size_t, std::string> last;
    for (const auto& [row, text] : statuses_) last[row] = text;
    return last;
  }

  ClockWaiter waiter_;
  std::vector<std::pair<size_t, std::string>> statuses_;
};

TEST_F(GroupSendTest, EachPlatformGetsItsExactMessage) {
  PlatformServer wecom(R"({"errcode":0,"errmsg":"ok"})");
  PlatformServer dingtalk(R"({"errcode":0,"errmsg":"ok"})");
  PlatformServer feishu(R"({"code":0,"msg":"success"})");
  PlatformServer telegram(R"({"ok":true,"result":{"message_id":1}})");
  PlatformServer webhook("");
  const std::vector<Group> groups = {
      MakeGroup("企业微信", Platform::kWecom,
                wecom.Url("/cgi-bin/webhook/send?key=" + std::string(kWecomKey))),
      MakeGroup("钉钉", Platform::kDingtalk,
                dingtalk.Url("/robot/send?access_token=" + std::string(kDingtalkToken)),
                kDingtalkSecret),
      MakeGroup("飞书", Platform::kFeishu,
                feishu.Url("/open-apis/bot/v2/hook/" + std::string(kFeishuHook)), kFeishuSecret),
      MakeGroup("电报", Platform::kTelegram, telegram.Url("/bot" + std::string(kTelegramToken)), "",
                "-1001234"),
      MakeGroup("自建", Platform::kWebhook, webhook.Url("/hook/" + std::string(kWebhookToken))),
  };
  const auto before = std::chrono::system_clock::now();
  ASSERT_TRUE(Send(groups, kText).ok());
  const auto after = std::chrono::system_clock::now();

  for (const PlatformServer* server : {&wecom, &dingtalk, &feishu, &telegram, &webhook}) {
    ASSERT_EQ(server->Requests().size(), 1u);
    EXPECT_EQ(server->Requests()[0].contentType, "application/json");
  }
  const Received w = wecom.Requests()[0];
  EXPECT_EQ(w.path, "/cgi-bin/webhook/send");
  EXPECT_EQ(w.params.find("key")->second, kWecomKey);
  EXPECT_EQ(w.body, std::string(R"({"msgtype":"text","text":{"content":")") + kTextJson + R"("}})");

  const Received d = dingtalk.Requests()[0];
  EXPECT_EQ(d.path, "/robot/send");
  EXPECT_EQ(d.body, std::string(R"({"msgtype":"text","text":{"content":")") + kTextJson + R"("}})");
  EXPECT_EQ(d.params.find("access_token")->second, kDingtalkToken);
  const std::string stamp = d.params.find("timestamp")->second;
  const long long milliseconds = std::stoll(stamp);
  EXPECT_GE(
      milliseconds,
      std::chrono::duration_cast<std::chrono::milliseconds>(before.time_since_epoch()).count());
  EXPECT_LE(
      milliseconds,
      std::chrono::duration_cast<std::chrono::milliseconds>(after.time_since_epoch()).count());
  EXPECT_EQ(d.params.find("sign")->second,
            push_test::ReferenceSignature(kDingtalkSecret, stamp + "\n" + kDingtalkSecret));

  const Received f = feishu.Requests()[0];
  EXPECT_EQ(f.path, "/open-apis/bot/v2/hook/" + std::string(kFeishuHook));
  const Json body = Json::parse(f.body);
  const std::string seconds = body["timestamp"].get<std::string>();
  EXPECT_GE(std::stoll(seconds),
            std::chrono::duration_cast<std::chrono::seconds>(before.time_since_epoch()).count());
  EXPECT_LE(std::stoll(seconds),
            std::chrono::duration_cast<std::chrono::seconds>(after.time_since_epoch()).count());
  const std::string sign = push_test::ReferenceSignature(seconds + "\n" + kFeishuSecret, "");
  EXPECT_EQ(f.body, std::string(R"({"msg_type":"text","content":{"text":")") + kTextJson +
                        R"("},"timestamp":")" + seconds + R"(","sign":")" + sign + R"("})");

  const Received t = telegram.Requests()[0];
  EXPECT_EQ(t.path, "/bot" + std::string(kTelegramToken) + "/sendMessage");
  EXPECT_EQ(t.body, std::string(R"({"chat_id":"-1001234","text":")") + kTextJson + R"("})");

  const Received h = webhook.Requests()[0];
  EXPECT_EQ(h.path, "/hook/" + std::string(kWebhookToken));
  EXPECT_EQ(h.body, std::string(R"({"text":")") + kTextJson + R"("})");

  std::vector<std::pair<size_t, std::string>> expected;
  for (size_t row = 0; row < groups.size(); ++row) {
    expected.emplace_back(row, "发送中…");
    expected.emplace_back(row, "已发送 12:34:56");
  }
  EXPECT_EQ(statuses_, expected);
  EXPECT_EQ(waiter_.pauses(), Pauses(4, 5s));  // between the five groups
}

TEST_F(GroupSendTest, ALongTextGoesPieceByPieceInOrderWithPauses) {
  PlatformServer wecom(R"({"errcode":0,"errmsg":"ok"})");
  PlatformServer telegram(R"({"ok":true})");
  std::string text;
  for (int line = 1; line <= 120; ++line) {
    text += "第" + std::to_string(line) + "期 计划 一二三四五六七八九十\r\n";
  }
  ASSERT_GT(text.size(), 2 * 2048u);
  ASSERT_LT(text.size(), 3 * 2048u);
  const std::vector<Group> groups = {
      MakeGroup("a", Platform::kWecom, wecom.Url("/send?key=" + std::string(kWecomKey))),
      MakeGroup("b", Platform::kTelegram, telegram.Url("/bot" + std::string(kTelegramToken)), "",
                "7"),
  };
  ASSERT_TRUE(Send(groups, text).ok());

  const std::vector<std::string> parts = SplitText(text, LimitOf(Platform::kWecom));
  ASSERT_EQ(parts.size(), 3u);
  ASSERT_EQ(wecom.Requests().size(), 3u);
  std::string joined;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string content =
        Json::parse(wecom.Requests()[i].body)["text"]["content"].get<std::string>();
    EXPECT_EQ(content, parts[i]) << i;
    EXPECT_LE(content.size(), 2048u);
    // The line end at a cut goes; the text's own last one stays.
    const bool last = i + 1 == parts.size();
    EXPECT_EQ(content.ends_with("\r\n"), last) << i;
    joined += last ? content : content + "\r\n";
  }
  EXPECT_EQ(joined, text);
  // Telegram takes the whole text: its limit is in characters.
  ASSERT_EQ(telegram.Requests().size(), 1u);
  EXPECT_EQ(Json::parse(telegram.Requests()[0].body)["text"].get<std::string>(), text);

  EXPECT_EQ(waiter_.pauses(), (Pauses{3s, 3s, 5s}));
  EXPECT_EQ(waiter_.clock(), 11s);
  EXPECT_EQ(Final(),
            (std::map<size_t, std::string>{{0, "已发送 12:34:56"}, {1, "已发送 12:34:56"}}));
}

TEST_F(GroupSendTest, RetryRules) {
  struct Case {
    const char* name;
    Platform platform;
    std::vector<Scripted> answers;
    size_t requests;
    Pauses pauses;
    const char* status;
  };
  const httplib::Headers retryAfter7{{"Retry-After", "7"}};
  const Case cases[] = {
      {"5xx then success", Platform::kWebhook, {{500, ""}, {200, ""}}, 2, {2s}, "已发送 12:34:56"},
      {"5xx twice", Platform::kWebhook, {{502, ""}}, 2, {2s}, "失败：HTTP 502"},
      {"4xx never", Platform::kWebhook, {{400, ""}, {200, ""}}, 1, {}, "失败：HTTP 400"},
      {"404 never",
       Platform::kTelegram,
       {{404, R"({"ok":false,"error_code":404,"description":"Not Found"})"}},
       1,
       {},
       "失败：HTTP 404 Not Found（error_code 404）"},
      {"429 waits as asked",
       Platform::kWebhook,
       {{429, "", retryAfter7}, {200, ""}},
       2,
       {7s},
       "已发送 12:34:56"},
      {"429 twice", Platform::kWebhook, {{429, ""}}, 2, {60s}, "失败：HTTP 429"},
      {"wecom 45009",
       Platform::kWecom,
       {{200, R"({"errcode":45009,"errmsg":"api freq out of limit"})"},
        {200, R"({"errcode":0,"errmsg":"ok"})"}},
       2,
       {60s},
       "已发送 12:34:56"},
      {"platform error never",
       Platform::kWecom,
       {{200, R"({"errcode":93000,"errmsg":"invalid webhook url"})"}},
       1,
       {},
       "失败：invalid webhook url（errcode 93000）"},
      {"rate limit then 5xx",
       Platform::kWebhook,
       {{429, ""}, {500, ""}, {200, ""}},
       2,
       {60s},
       "失败：HTTP 500"},
  };
  for (const Case& c : cases) {
    PlatformServer server;
    server.SetAnswer(Script(c.answers));
    ClockWaiter waiter;
    statuses_.clear();
    EXPECT_TRUE(SendToGroups({MakeGroup("g", c.platform, server.Url("/h"), "", "1")}, kText,
                             std::nullopt, waiter, Options(), Sink())
                    .ok())
        << c.name;
    EXPECT_EQ(server.Requests().size(), c.requests) << c.name;
    EXPECT_EQ(waiter.pauses(), c.pauses) << c.name;
    EXPECT_EQ(Final()[0], c.status) << c.name;
  }
}

TEST_F(GroupSendTest, ARefusedConnectionIsTriedOnceMoreAfterTwoSeconds) {
  RefusingPort port;
  ASSERT_TRUE(Send({MakeGroup("g", Platform::kWebhook, port.Url("/h"))}, kText).ok());
  EXPECT_EQ(waiter_.pauses(), Pauses{2s});
  EXPECT_EQ(Final()[0], "失败：连接被拒绝");
}

TEST_F(GroupSendTest, RedirectsAreNotFollowed) {
  PlatformServer elsewhere;
  PlatformServer redirecting;
  redirecting.SetAnswer([&](const Received&, httplib::Response& response) {
    response.set_redirect(elsewhere.Url("/steal"), 307);
  });
  ASSERT_TRUE(Send({MakeGroup("g", Platform::kWebhook, redirecting.Url("/h"))}, kText).ok());
  EXPECT_EQ(redirecting.Requests().size(), 1u);
  EXPECT_EQ(elsewhere.Requests().size(), 0u);
  EXPECT_EQ(Final()[0], "失败：HTTP 307");
}

// A 100 MB answer is read to 64 KiB and no further.
TEST_F(GroupSendTest, AHugeAnswerIsCutAt64KiB) {
  constexpr size_t kHuge = 100u << 20;
  std::atomic<size_t> sent{0};
  std::atomic<bool> finished{false};
  RawServer server([&](int connection, const std::string&) {
    RawServer::Send(connection, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kHuge) +
                                    "\r\nContent-Type: application/json\r\n\r\n");
    const std::string chunk(64 * 1024, 'x');
    while (sent < kHuge) {
      const ssize_t n = ::send(connection, chunk.data(), chunk.size(), MSG_NOSIGNAL);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    finished = true;
  });
  BlockingWaiter waiter;
  const HttpAnswer answer = PostJson(server.Url("/h"), "{}", waiter);
  EXPECT_EQ(answer.failure, HttpAnswer::Failure::kNone);
  EXPECT_EQ(answer.status, 200);
  EXPECT_TRUE(answer.bodyCut);
  EXPECT_EQ(answer.body, std::string(kAnswerLimit, 'x'));
  // The server stops when it notices the closed connection.
  for (int i = 0; i < 500 && !finished; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_TRUE(finished.load());
  EXPECT_LT(sent.load(), kHuge);

  ASSERT_TRUE(Send({MakeGroup("g", Platform::kWebhook, server.Url("/h"))}, kText).ok());
  EXPECT_EQ(Final()[0], "已发送 12:34:56");
}

TEST_F(GroupSendTest, BrokenAndSilentServersFailWithoutARetry) {
  struct Case {
    const char* name;
    RawServer::Handler handler;
    const char* status;
  };
  RawServer* current = nullptr;
  const Case cases[] = {
      {"never answers", [&](int, const std::string&) { current->WaitForStop(); }, "失败：超时"},
      {"trickles",
       [&](int connection, const std::string&) {
         RawServer::Send(connection, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n");
         for (int i = 0; i < 100; ++i) {
           RawServer::Send(connection, "x");
           current->SleepUnlessStopped(50);
         }
       },
       "失败：超时"},
      {"reset mid-answer",
       [](int connection, const std::string&) {
         RawServer::Send(connection, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"errc");
         RawServer::Reset(connection);
       },
       "失败：连接中断"},
      {"closes without a word", [](int, const std::string&) {}, "失败：连接中断"},
  };
  for (const Case& c : cases) {
    RawServer server(c.handler);
    current = &server;
    ClockWaiter waiter;
    statuses_.clear();
    EXPECT_TRUE(SendToGroups({MakeGroup("g", Platform::kWebhook, server.Url("/h"))}, kText,
                             std::nullopt, waiter, Options(300ms), Sink())
                    .ok())
        << c.name;
    EXPECT_EQ(server.Requests().size(), 1u) << c.name;
    EXPECT_EQ(waiter.pauses(), Pauses{}) << c.name;
    EXPECT_EQ(Final()[0], c.status) << c.name;
  }
}

// The request waits through the caller's waiter, which is told the 10 s limit
// and woken by the answer.
TEST_F(GroupSendTest, TheRequestWaitsThroughTheWaiterForAtMostTenSeconds) {
  PlatformServer server;
  server.SetAnswer([](const Received&, httplib::Response& response) {
    std::this_thread::sleep_for(200ms);
    response.set_content("", "application/json");
  });
  SendOptions options;
  options.clock = [] { return kClock; };
  ASSERT_TRUE(SendToGroups({MakeGroup("g", Platform::kWebhook, server.Url("/h"))}, kText,
                           std::nullopt, waiter_, options, Sink())
                  .ok());
  ASSERT_FALSE(waiter_.waitLimits().empty());
  EXPECT_LE(waiter_.waitLimits()[0], 10s);
  EXPECT_GT(waiter_.waitLimits()[0], 9s);
  EXPECT_EQ(Final()[0], "已发送 12:34:56");
}

TEST_F(GroupSendTest, AnUntrustedCertificateIsRefused) {
  SelfSignedServer server;
  // The server works for a client that skips the check.
  httplib::SSLClient unchecked("127.0.0.1", server.port());
  unchecked.enable_server_certificate_verification(false);
  const httplib::Result direct = unchecked.Post("/h", "{}", "application/json");
  ASSERT_TRUE(direct) << httplib::to_string(direct.error());
  EXPECT_EQ(server.posts(), 1);

  ASSERT_TRUE(Send({MakeGroup("g", Platform::kWebhook, server.Url("/h"))}, kText).ok());
  EXPECT_EQ(server.posts(), 1);
  EXPECT_EQ(Final()[0], "失败：证书验证失败");
}

TEST_F(GroupSendTest, EachDrawReachesEachGroupOnceAlsoAcrossARestart) {
  TempDir dir;
  const auto record = dir.path() / "push_sent.ini";
  PlatformServer first;
  PlatformServer second;
  PlatformServer unchecked;
  std::vector<Group> groups = {
      MakeGroup("一群", Platform::kWebhook, first.Url("/a")),
      MakeGroup("二群", Platform::kWebhook, second.Url("/b")),
      MakeGroup("三群", Platform::kWebhook, unchecked.Url("/c")),
  };
  groups[2].checked = false;
  second.SetAnswer(Script({{500, ""}, {500, ""}, {200, ""}}));

  ASSERT_TRUE(Send(groups, kText, DrawMark{"20240101-059", record}).ok());
  EXPECT_EQ(first.Requests().size(), 1u);
  EXPECT_EQ(second.Requests().size(), 2u);  // failed twice: not recorded
  EXPECT_EQ(Final()[1], "失败：HTTP 500");

  // Nothing is kept in memory: the next call reads the record, as after a restart.
  statuses_.clear();
  ASSERT_TRUE(Send(groups, kText, DrawMark{"20240101-059", record}).ok());
  EXPECT_EQ(first.Requests().size(), 1u);
  EXPECT_EQ(second.Requests().size(), 3u);
  EXPECT_EQ(statuses_,
            (std::vector<std::pair<size_t, std::string>>{{1, "发送中…"}, {1, "已发送 12:34:56"}}));
  statuses_.clear();
  ASSERT_TRUE(Send(groups, kText, DrawMark{"20240101-059", record}).ok());
  EXPECT_EQ(first.Requests().size(), 1u);
  EXPECT_EQ(second.Requests().size(), 3u);
  EXPECT_TRUE(statuses_.empty());

  ASSERT_TRUE(Send(groups, kText, DrawMark{"20240101-060", record}).ok());
  EXPECT_EQ(first.Requests().size(), 2u);
  EXPECT_EQ(second.Requests().size(), 4u);
  EXPECT_EQ(unchecked.Requests().size(), 0u);
  const base::Result<SentRecord> kept = ReadSentRecord(record);
  ASSERT_TRUE(kept.ok());
  EXPECT_EQ(kept.value(), (SentRecord{{"一群", "20240101-060"}, {"二群", "20240101-060"}}));
}

// Once a part has arrived the draw counts as sent: a later failing part never
// brings the first ones again.
TEST_F(GroupSendTest, AGroupIsRecordedAsSoonAsAPieceArrived) {
  TempDir dir;
  const auto record = dir.path() / "push_sent.ini";
  PlatformServer wecom;
  wecom.SetAnswer(Script({{200, R"({"errcode":0})"}, {400, R"({"errcode":40058})"}}));
  const std::string text =
      std::string(2000, 'a') + "\n" + std::string(2000, 'b') + "\n" + std::string(2000, 'c');
  const std::vector<Group> groups = {MakeGroup("g", Platform::kWecom, wecom.Url("/send?key=k"))};
  ASSERT_TRUE(Send(groups, text, DrawMark{"059", record}).ok());
  EXPECT_EQ(wecom.Requests().size(), 2u);
  EXPECT_EQ(Final()[0], "失败：HTTP 400 errcode 40058（第 2/3 段）");
  ASSERT_TRUE(Send(groups, text, DrawMark{"059", record}).ok());
  EXPECT_EQ(wecom.Requests().size(), 2u);
}

TEST_F(GroupSendTest, AnUnreadableRecordSendsNothing) {
  TempDir dir;
  const auto record = dir.path() / "push_sent.ini";
  std::filesystem::create_directory(record);
  PlatformServer server;
  const base::Status sent =
      Send({MakeGroup("g", Platform::kWebhook, server.Url("/h"))}, kText, DrawMark{"059", record});
  EXPECT_FALSE(sent.ok());
  EXPECT_EQ(server.Requests().size(), 0u);
  EXPECT_EQ(Final()[0], "失败：无法读取发送记录");
}

TEST_F(GroupSendTest, OutcomeTexts) {
  const Group group = MakeGroup("g", Platform::kWebhook, "http://127.0.0.1:1/h");
  EXPECT_EQ(OutcomeText({1, 1, ""}, group, kClock), "已发送 12:34:56");
  EXPECT_EQ(OutcomeText({1, 0, "超时"}, group, kClock), "失败：超时");
  EXPECT_EQ(OutcomeText({3, 1, "HTTP 500"}, group, kClock), "失败：HTTP 500（第 2/3 段）");
  EXPECT_EQ(OutcomeText({0, 0, ""}, group, kClock), "没有可发送的内容");
  // Only a failure is one: the label under the list shows the last of them.
  for (const GroupOutcome& failed : {GroupOutcome{1, 0, "超时"}, GroupOutcome{3, 1, "HTTP 500"}}) {
    EXPECT_TRUE(IsFailedText(OutcomeText(failed, group, kClock)));
  }
  EXPECT_TRUE(IsFailedText(FailedText("token " + group.url, group)));
  for (const std::string& other :
       {OutcomeText({1, 1, ""}, group, kClock), OutcomeText({0, 0, ""}, group, kClock),
        SendingText(), std::string("配置错误：缺少 url"), std::string()}) {
    EXPECT_FALSE(IsFailedText(other)) << other;
  }
  BlockingWaiter waiter;
  EXPECT_EQ(SendToGroup(group, "\r\n", waiter, Options()).parts, 0u);
}

TEST_F(GroupSendTest, ABlankTextSendsNothing) {
  PlatformServer server;
  std::vector<Group> groups = {
      MakeGroup("on", Platform::kWebhook, server.Url("/h")),
      MakeGroup("off", Platform::kWebhook, server.Url("/h")),
      MakeGroup("broken", Platform::kWebhook, server.Url("/h")),
  };
  groups[1].checked = false;
  groups[2].configError = "配置错误：缺少 url";
  for (const char* text : {"", " \r\n"}) {
    statuses_.clear();
    ASSERT_TRUE(Send(groups, text).ok());
    EXPECT_EQ(statuses_, (std::vector<std::pair<size_t, std::string>>{{0, "没有可发送的内容"}}));
  }
  EXPECT_EQ(server.Requests().size(), 0u);
}

// Platforms that echo the request in their errors: the 状态 texts show none
// of it (TearDown checks every text for every token and secret).
TEST_F(GroupSendTest, EchoedTokensAndSecretsNeverReachTheStatus) {
  PlatformServer server;
  server.SetAnswer([](const Received& received, httplib::Response& response) {
    std::string echo = received.path;
    for (const auto& [name, value] : received.params) echo += " " + name + "=" + value;
    echo += std::string(" ") + kDingtalkSecret + " " + kFeishuSecret;
    response.status = 400;
    response.set_content(Json{{"errcode", 300001},
                              {"code", 300001},
                              {"ok", false},
                              {"error_code", 400},
                              {"errmsg", echo},
                              {"msg", echo},
                              {"description", echo}}
                             .dump(),
                         "application/json");
  });
  const std::vector<Group> groups = {
      MakeGroup("w", Platform::kWecom, server.Url("/send?key=" + std::string(kWecomKey))),
      MakeGroup("d", Platform::kDingtalk,
                server.Url("/robot/send?access_token=" + std::string(kDingtalkToken)),
                kDingtalkSecret),
      MakeGroup("f", Platform::kFeishu, server.Url("/hook/" + std::string(kFeishuHook)),
                kFeishuSecret),
      MakeGroup("t", Platform::kTelegram, server.Url("/bot" + std::string(kTelegramToken)), "",
                "1"),
      MakeGroup("h", Platform::kWebhook, server.Url("/hook/" + std::string(kWebhookToken))),
  };
  ASSERT_TRUE(Send(groups, kText).ok());
  EXPECT_EQ(server.Requests().size(), 5u);
  for (const auto& [row, text] : Final()) EXPECT_TRUE(text.starts_with("失败：HTTP 400")) << text;
}

}  // namespace
}  // namespace push
