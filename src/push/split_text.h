#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "push/group.h"

namespace push {

// How much text one message of a platform takes. Telegram counts characters
// as UTF-16 units, so one outside the BMP (an emoji) counts twice.
struct TextLimit {
  enum class Unit { kBytes, kUtf16 };
  std::size_t length = 0;
  Unit unit = Unit::kBytes;
};

// wecom 2048 bytes, dingtalk 20000, feishu 30000, telegram 4096 characters,
// webhook 65536 bytes.
TextLimit LimitOf(Platform platform);

// The text as parts within the limit, in order: cut at line ends, the line
// ends at a cut dropped; a single line longer than the limit is cut between
// characters. A text within the limit is one part, unchanged; no part is
// only line ends, so a text of nothing else has none.
std::vector<std::string> SplitText(std::string_view text, TextLimit limit);

}  // namespace push
