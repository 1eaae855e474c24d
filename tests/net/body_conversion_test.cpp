#include "net/body_conversion.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

namespace {

std::string Gbk(const char* utf8) { return base::Utf8ToGbk(utf8).value(); }

TEST(BodyConversion, Utf8ToGbk) {
  EXPECT_EQ(net::Utf8ToGbk("开奖 12345"), Gbk("开奖 12345"));
  EXPECT_EQ(net::Utf8ToGbk(""), "");
  // A character GBK lacks and a broken sequence each become "?"; the rest stays.
  EXPECT_EQ(net::Utf8ToGbk("号\xF0\x9F\x98\x80码"), Gbk("号?码"));
  EXPECT_EQ(net::Utf8ToGbk("a\xE5\xbc"
                           "b"),
            "a?b");
}

TEST(BodyConversion, Big5ToSimplifiedGbk) {
  // "開獎號碼" in Big5.
  const std::string big5 = "\xB6\x7D\xBC\xFA\xB8\xB9\xBD\x58";
  ASSERT_EQ(base::Big5ToUtf8(big5).value(), "開獎號碼");
  EXPECT_EQ(net::Big5ToSimplifiedGbk(big5), Gbk("开奖号码"));
  EXPECT_EQ(net::Big5ToSimplifiedGbk("abc 123"), "abc 123");
}

}  // namespace
