#include "push/signing.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

namespace push {

std::string HmacSha256(std::string_view key, std::string_view message) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  // An empty key or message still needs a valid pointer.
  static const unsigned char kNothing = 0;
  const auto* keyBytes =
      key.empty() ? &kNothing : reinterpret_cast<const unsigned char*>(key.data());
  const auto* messageBytes =
      message.empty() ? &kNothing : reinterpret_cast<const unsigned char*>(message.data());
  if (HMAC(EVP_sha256(), keyBytes, static_cast<int>(key.size()), messageBytes, message.size(),
           digest, &length) == nullptr) {
    return {};
  }
  return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string Base64(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3), '\0');
  const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                     reinterpret_cast<const unsigned char*>(bytes.data()),
                                     static_cast<int>(bytes.size()));
  out.resize(static_cast<size_t>(length));
  return out;
}

std::string UrlEncode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '.' ||
                       byte == '~';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::string DingtalkSign(std::string_view secret, std::int64_t milliseconds) {
  const std::string message = std::to_string(milliseconds) + "\n" + std::string(secret);
  return UrlEncode(Base64(HmacSha256(secret, message)));
}

std::string FeishuSign(std::string_view secret, std::int64_t seconds) {
  const std::string key = std::to_string(seconds) + "\n" + std::string(secret);
  return Base64(HmacSha256(key, ""));
}

}  // namespace push
