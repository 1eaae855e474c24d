#pragma once

#include <string>
#include <string_view>

namespace net {

// The code page a request's body arrives in when it is not GBK already.
enum class BodyConversion { None, Utf8ToGbk, Big5ToSimplifiedGbk };

// Page bodies in other code pages, turned into the GBK the parsers read.
// Characters GBK cannot hold (and invalid bytes) become "?".
std::string Utf8ToGbk(std::string_view utf8);
// Big5 to GBK with traditional characters mapped to simplified ones.
std::string Big5ToSimplifiedGbk(std::string_view big5);

}  // namespace net
