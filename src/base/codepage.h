#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace base {

// Conversions between the program's UTF-8 and the code pages that files and
// pages arrive in. nullopt when the input is not valid in its code page.
std::optional<std::string> GbkToUtf8(std::string_view gbk);
std::optional<std::string> Utf8ToGbk(std::string_view utf8);
std::optional<std::string> Big5ToUtf8(std::string_view big5);

bool IsValidUtf8(std::string_view bytes);

// Files from older installations may be GBK or UTF-8: valid UTF-8 is taken as
// it is, anything else is read as GBK (invalid bytes dropped).
std::string DecodeGbkOrUtf8(std::string_view bytes);

}  // namespace base
