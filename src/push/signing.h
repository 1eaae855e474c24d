#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace push {

// The raw 32 bytes of HMAC-SHA256(key, message).
std::string HmacSha256(std::string_view key, std::string_view message);

// Standard Base64 with padding, no line breaks.
std::string Base64(std::string_view bytes);

// Percent-encodes every byte but ASCII letters, digits and "-_.~".
std::string UrlEncode(std::string_view text);

// DingTalk's sign: Base64 of HMAC-SHA256(secret, T + "\n" + secret), T in
// milliseconds since the epoch; URL-encoded, ready for the address.
std::string DingtalkSign(std::string_view secret, std::int64_t milliseconds);

// Feishu's sign: Base64 of HMAC-SHA256(T + "\n" + secret, empty message), T in
// seconds since the epoch.
std::string FeishuSign(std::string_view secret, std::int64_t seconds);

}  // namespace push
