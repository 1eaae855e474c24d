#include "push/verdict.h"

#include <gtest/gtest.h>

#include "push/outcome_text.h"

namespace push {
namespace {

using Kind = Verdict::Kind;
using Failure = HttpAnswer::Failure;
using std::chrono::milliseconds;
using std::chrono::seconds;

Group MakeGroup(Platform platform) {
  Group group;
  group.name = "群";
  group.platform = platform;
  group.url = "https://example.test/hook?key=Tok3nValue9876";
  group.secret = "SECsecretValue42";
  return group;
}

HttpAnswer Answer(long status, std::string body, std::string retryAfter = "") {
  HttpAnswer answer;
  answer.status = status;
  answer.body = std::move(body);
  answer.retryAfter = std::move(retryAfter);
  return answer;
}

HttpAnswer Failed(Failure failure, int curlCode = 0) {
  HttpAnswer answer;
  answer.failure = failure;
  answer.curlCode = curlCode;
  return answer;
}

TEST(Verdict, JudgesEachPlatformsAnswer) {
  struct Case {
    Platform platform;
    HttpAnswer answer;
    Kind kind;
    std::string reason;
  };
  const Case cases[] = {
      {Platform::kWecom, Answer(200, R"({"errcode":0,"errmsg":"ok"})"), Kind::kDelivered, ""},
      {Platform::kWecom, Answer(200, R"({"errcode":93000,"errmsg":"invalid webhook url"})"),
       Kind::kFailed, "invalid webhook url（errcode 93000）"},
      {Platform::kWecom, Answer(202, R"({"errcode":0})"), Kind::kFailed, "HTTP 202 应答无法识别"},
      {Platform::kWecom, Answer(200, R"({"errcode":"0"})"), Kind::kFailed, "HTTP 200 应答无法识别"},
      {Platform::kDingtalk, Answer(200, R"({"errcode":0,"errmsg":"ok"})"), Kind::kDelivered, ""},
      {Platform::kDingtalk, Answer(200, R"({"errcode":310000,"errmsg":"sign not match"})"),
       Kind::kFailed, "sign not match（errcode 310000）"},
      {Platform::kFeishu, Answer(200, R"({"code":0,"msg":"success"})"), Kind::kDelivered, ""},
      {Platform::kFeishu, Answer(200, R"({"code":19021,"msg":"sign match fail"})"), Kind::kFailed,
       "sign match fail（code 19021）"},
      {Platform::kTelegram, Answer(200, R"({"ok":true,"result":{}})"), Kind::kDelivered, ""},
      {Platform::kTelegram,
       Answer(400, R"({"ok":false,"error_code":400,"description":"Bad Request: chat not found"})"),
       Kind::kFailed, "HTTP 400 Bad Request: chat not found（error_code 400）"},
      {Platform::kWebhook, Answer(204, ""), Kind::kDelivered, ""},
      {Platform::kWebhook, Answer(200, "not json"), Kind::kDelivered, ""},
      {Platform::kWebhook, Answer(404, "<html>"), Kind::kFailed, "HTTP 404"},
      {Platform::kWebhook, Answer(302, ""), Kind::kFailed, "HTTP 302"},
      {Platform::kWecom, Answer(200, "{\"errcode\":0,"), Kind::kFailed, "HTTP 200 应答无法识别"},
      {Platform::kWebhook, Answer(500, ""), Kind::kTransient, "HTTP 500"},
      {Platform::kFeishu, Answer(503, R"({"code":1,"msg":"busy"})"), Kind::kTransient,
       "HTTP 503 busy（code 1）"},
      {Platform::kWebhook, Answer(429, ""), Kind::kRateLimited, "HTTP 429"},
      {Platform::kWecom, Answer(200, R"({"errcode":45009,"errmsg":"api freq out of limit"})"),
       Kind::kRateLimited, "api freq out of limit（errcode 45009）"},
      {Platform::kDingtalk, Answer(200, R"({"errcode":45009,"errmsg":"x"})"), Kind::kFailed,
       "x（errcode 45009）"},
      {Platform::kWebhook, Failed(Failure::kRefused), Kind::kTransient, "连接被拒绝"},
      {Platform::kWebhook, Failed(Failure::kTimedOut), Kind::kFailed, "超时"},
      {Platform::kWebhook, Failed(Failure::kCertificate), Kind::kFailed, "证书验证失败"},
      {Platform::kWebhook, Failed(Failure::kUnresolved), Kind::kFailed, "找不到主机"},
      {Platform::kWebhook, Failed(Failure::kBroken), Kind::kFailed, "连接中断"},
      {Platform::kWebhook, Failed(Failure::kOther, 35), Kind::kFailed, "网络错误（curl 35）"},
  };
  for (const Case& c : cases) {
    const Verdict verdict = JudgeAnswer(MakeGroup(c.platform), c.answer);
    EXPECT_EQ(verdict.kind, c.kind) << c.answer.body << " " << c.answer.status;
    EXPECT_EQ(verdict.reason, c.reason) << c.answer.body << " " << c.answer.status;
  }
}

TEST(Verdict, RateLimitWaitsWhatTheAnswerAsks) {
  struct Case {
    Platform platform;
    HttpAnswer answer;
    milliseconds wait;
  };
  const Case cases[] = {
      {Platform::kWebhook, Answer(429, "", "7"), seconds(7)},
      {Platform::kWebhook, Answer(429, "", "0"), seconds(1)},
      {Platform::kWebhook, Answer(429, "", "3600"), seconds(60)},
      {Platform::kWebhook, Answer(429, "", "Wed, 21 Oct 2015 07:28:00 GMT"), seconds(60)},
      {Platform::kWebhook, Answer(429, ""), seconds(60)},
      {Platform::kTelegram,
       Answer(429, R"({"ok":false,"error_code":429,"parameters":{"retry_after":12}})"),
       seconds(12)},
      {Platform::kWecom, Answer(200, R"({"errcode":45009})"), seconds(60)},
  };
  for (const Case& c : cases) {
    const Verdict verdict = JudgeAnswer(MakeGroup(c.platform), c.answer);
    ASSERT_EQ(verdict.kind, Kind::kRateLimited) << c.answer.retryAfter;
    EXPECT_EQ(verdict.rateLimitWait, c.wait) << c.answer.retryAfter;
  }
}

TEST(Verdict, RetryRules) {
  struct Case {
    Kind kind;
    int attemptsMade;
    bool retry;
    milliseconds wait;
  };
  const Case cases[] = {
      {Kind::kTransient, 1, true, seconds(2)},
      {Kind::kTransient, 2, false, {}},
      {Kind::kRateLimited, 1, true, seconds(9)},
      {Kind::kRateLimited, 2, false, {}},
      {Kind::kFailed, 1, false, {}},
      {Kind::kDelivered, 1, false, {}},
  };
  for (const Case& c : cases) {
    const RetryDecision decision = DecideRetry({c.kind, seconds(9), "r"}, c.attemptsMade);
    EXPECT_EQ(decision.retry, c.retry) << static_cast<int>(c.kind) << " " << c.attemptsMade;
    EXPECT_EQ(decision.wait, c.wait) << static_cast<int>(c.kind) << " " << c.attemptsMade;
  }
}

// Platforms echo what they were sent; none of the url's token or the secret
// may reach a reason, whole or in part.
TEST(Verdict, ReasonsNeverShowTheTokenOrTheSecret) {
  const Group group = MakeGroup(Platform::kWecom);
  const std::string echoes[] = {
      group.url,
      group.secret,
      "bad key Tok3nValue9876",
      "key=Tok3nVal...",
      "sig ecretVal",
      "https://example.test/hook",
      "SECsecretValue42 wrong",
  };
  for (const std::string& echo : echoes) {
    for (long status : {200L, 400L, 500L}) {
      const std::string body = R"({"errcode":93000,"errmsg":")" + echo + R"("})";
      const Verdict verdict = JudgeAnswer(group, Answer(status, body));
      EXPECT_FALSE(RevealsSecret(verdict.reason, group)) << verdict.reason;
      EXPECT_EQ(verdict.reason.find("Tok3n"), std::string::npos) << verdict.reason;
      EXPECT_EQ(verdict.reason.find("ecretVal"), std::string::npos) << verdict.reason;
      EXPECT_NE(verdict.reason.find("93000"), std::string::npos) << verdict.reason;
    }
  }
}

TEST(Verdict, APlatformMessageBecomesOneShortLine) {
  const std::string body =
      R"({"errcode":1,"errmsg":"line one\nline two\t)" + std::string(300, 'x') + R"("})";
  const Verdict verdict = JudgeAnswer(MakeGroup(Platform::kWecom), Answer(200, body));
  EXPECT_EQ(verdict.reason.find('\n'), std::string::npos);
  EXPECT_EQ(verdict.reason.find('\t'), std::string::npos);
  EXPECT_TRUE(verdict.reason.starts_with("line one line two xxx")) << verdict.reason;
  EXPECT_LT(verdict.reason.size(), 160u);
}

TEST(OutcomeText, Texts) {
  const Group group = MakeGroup(Platform::kWebhook);
  EXPECT_EQ(SentText({9, 5, 7}), "已发送 09:05:07");
  EXPECT_EQ(FailedText("HTTP 500", group), "失败：HTTP 500");
  EXPECT_EQ(FailedText("bad Tok3nValue9876", group), "失败：发送未成功（原因含有密钥，已隐去）");
  EXPECT_EQ(SendingText(), "发送中…");
  EXPECT_EQ(NothingToSendText(), "没有可发送的内容");
}

}  // namespace
}  // namespace push
