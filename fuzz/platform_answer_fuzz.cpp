// A chat platform's answer, as hostile as it likes: for every platform the
// verdict is decided without a crash, the reason never shows the group's url
// or secret, and no answer earns more than one retry.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "push/outcome_text.h"
#include "push/verdict.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  push::HttpAnswer answer;
  answer.status = data.ConsumeIntegralInRange<long>(0, 999);
  answer.retryAfter = data.ConsumeRandomLengthString(32);
  answer.bodyCut = data.ConsumeBool();
  // A token as platforms issue them: letters and digits, 16 of them or more.
  std::string secret = data.ConsumeRandomLengthString(48);
  for (char& c : secret)
    c = "abcdefghijklmnopqrstuvwxyz0123456789"[static_cast<unsigned char>(c) % 36];
  secret.resize(std::max<std::size_t>(secret.size(), 16), 'q');
  answer.body = data.ConsumeRemainingBytesAsString();
  for (push::Platform platform :
       {push::Platform::kWecom, push::Platform::kDingtalk, push::Platform::kFeishu,
        push::Platform::kTelegram, push::Platform::kWebhook}) {
    push::Group group;
    group.name = "群";
    group.platform = platform;
    group.url = "https://hooks.example/send?key=" + secret;
    group.secret = secret;
    group.chatId = "42";
    const push::Verdict verdict = push::JudgeAnswer(group, answer);
    if (push::RevealsSecret(verdict.reason, group)) std::abort();
    if (push::RevealsSecret(push::FailedText(verdict.reason, group), group)) std::abort();
    if (push::DecideRetry(verdict, 2).retry) std::abort();
  }
  return 0;
}
