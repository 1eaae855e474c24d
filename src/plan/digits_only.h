#pragma once

#include <string>
#include <string_view>

namespace plan {

// The ASCII digits 0-9 of text in their order; everything else (full-width
// digits included) is dropped. A plain loop: the formula search calls it for
// every formula and draw.
std::string DigitsOnly(std::string_view text);

}  // namespace plan
