#include "push/signing.h"

#include <gtest/gtest.h>

#include "push_harness.h"

namespace push {
namespace {

std::string Hex(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

// RFC 4231, test cases 1 and 2, and an empty key and message.
TEST(Signing, HmacSha256KnownAnswers) {
  EXPECT_EQ(Hex(HmacSha256(std::string(20, '\x0b'), "Hi There")),
            "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7");
  EXPECT_EQ(Hex(HmacSha256("Jefe", "what do ya want for nothing?")),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
  EXPECT_EQ(Hex(HmacSha256("", "")),
            "b613679a0814d9ec772f95d778c35fc5ff1697c493715653c6c712144292c5ad");
}

// RFC 4648 section 10.
TEST(Signing, Base64KnownAnswers) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(Base64(bytes), text) << bytes;
  EXPECT_EQ(Base64(std::string("\xfb\xff", 2)), "+/8=");
}

TEST(Signing, UrlEncodeKeepsOnlyUnreservedBytes) {
  EXPECT_EQ(UrlEncode("aZ09-_.~"), "aZ09-_.~");
  EXPECT_EQ(UrlEncode("a+b/c=d e&"), "a%2Bb%2Fc%3Dd%20e%26");
  EXPECT_EQ(UrlEncode("群"), "%E7%BE%A4");
}

// The platforms' published recipes, computed independently.
TEST(Signing, PlatformSignsFollowTheirRecipes) {
  const std::string secret = "SECd2f1e6b0c9a8";
  EXPECT_EQ(DingtalkSign(secret, 1700000000123),
            UrlEncode(push_test::ReferenceSignature(secret, "1700000000123\n" + secret)));
  EXPECT_EQ(FeishuSign(secret, 1700000000),
            push_test::ReferenceSignature("1700000000\n" + secret, ""));
}

}  // namespace
}  // namespace push
