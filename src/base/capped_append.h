#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// Appends what of `piece` fits within `limit` bytes of `text`; false when
// some of it did not fit. Answers read from the network stop there.
inline bool AppendWithin(std::string& text, std::string_view piece, std::size_t limit) {
  const std::size_t room = limit > text.size() ? limit - text.size() : 0;
  text.append(piece.substr(0, room));
  return piece.size() <= room;
}

}  // namespace base
