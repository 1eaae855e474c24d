#include "push/split_text.h"

#include <gtest/gtest.h>

#include <random>

namespace push {
namespace {

using Pieces = std::vector<std::string>;
constexpr TextLimit::Unit kBytes = TextLimit::Unit::kBytes;
constexpr TextLimit::Unit kUtf16 = TextLimit::Unit::kUtf16;

std::string WithoutLineEnds(std::string text) {
  std::erase(text, '\r');
  std::erase(text, '\n');
  return text;
}

size_t Utf16Length(const std::string& text) {
  size_t length = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) length += c >= 0xF0 ? 2 : 1;
  }
  return length;
}

TEST(SplitText, PlatformLimits) {
  EXPECT_EQ(LimitOf(Platform::kWecom).length, 2048u);
  EXPECT_EQ(LimitOf(Platform::kDingtalk).length, 20000u);
  EXPECT_EQ(LimitOf(Platform::kFeishu).length, 30000u);
  EXPECT_EQ(LimitOf(Platform::kTelegram).length, 4096u);
  EXPECT_EQ(LimitOf(Platform::kTelegram).unit, kUtf16);
  EXPECT_EQ(LimitOf(Platform::kWebhook).length, 65536u);
  EXPECT_EQ(LimitOf(Platform::kWecom).unit, kBytes);
}

TEST(SplitText, Cases) {
  struct Case {
    const char* name;
    std::string text;
    TextLimit limit;
    Pieces parts;
  };
  const Case cases[] = {
      {"empty", "", {10, kBytes}, {}},
      {"only line ends", "\r\n\n", {10, kBytes}, {}},
      {"fits whole, line end kept", "ab\r\ncd\r\n", {8, kBytes}, {"ab\r\ncd\r\n"}},
      {"cut at the line end that fits", "ab\r\ncd\r\nef", {8, kBytes}, {"ab\r\ncd", "ef"}},
      {"lines packed greedily", "a\nb\nc\nd\n", {4, kBytes}, {"a\nb", "c\nd\n"}},
      {"long line cut between bytes", "abcdefg\nh", {3, kBytes}, {"abc", "def", "g\nh"}},
      {"never inside a character", "一二三\n四", {7, kBytes}, {"一二", "三\n四"}},
      {"telegram counts characters", "一二三\n四五", {3, kUtf16}, {"一二三", "四五"}},
      {"a trailing blank part goes", "abc\n\n\n", {2, kBytes}, {"ab", "c"}},
      {"an emoji counts twice",
       "\U0001F600\U0001F600a\nb",
       {3, kUtf16},
       {"\U0001F600", "\U0001F600a", "b"}},
      {"blank lines at a cut go", "ab\n\n\ncd", {2, kBytes}, {"ab", "cd"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitText(c.text, c.limit), c.parts) << c.name;
}

// Random plan-like texts: every part within the limit, none empty, and
// together, line ends aside, exactly the text in order.
TEST(SplitText, PiecesStayWithinTheLimitAndKeepTheTextInOrder) {
  std::mt19937 random(7);
  const std::vector<std::string> pieces = {
      "重庆:", "20240101-059", " 期开[12345]", "✔", "\U0001F600", "前三:0123456789", " "};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int lines = 1 + static_cast<int>(random() % 60);
    for (int line = 0; line < lines; ++line) {
      const int words = static_cast<int>(random() % 12);
      for (int w = 0; w < words; ++w) text += pieces[random() % pieces.size()];
      text += random() % 2 ? "\r\n" : "\n";
    }
    const TextLimit limit{40 + random() % 200, random() % 2 ? kBytes : kUtf16};
    const Pieces parts = SplitText(text, limit);
    std::string joined;
    for (const std::string& part : parts) {
      EXPECT_NE(part.find_first_not_of("\r\n"), std::string::npos) << round;
      EXPECT_LE(limit.unit == kBytes ? part.size() : Utf16Length(part), limit.length) << part;
      joined += part;
    }
    EXPECT_EQ(WithoutLineEnds(joined), WithoutLineEnds(text)) << round;
  }
}

}  // namespace
}  // namespace push
