#pragma once

#include <vector>

#include "lottery/draw.h"
#include "ui/window.h"

namespace draws {

// The draw history lives in this list view, row 0 newest: column 0 the issue,
// column 1 the code. Other areas read it through the functions below only.
inline constexpr const char* kDrawList = "列表框_开奖";

// Every row of the draw list, newest first, as the window shows them.
std::vector<lottery::Draw> ReadDrawList(const ui::Window& window);

// Row 0 of the draw list; an empty draw while the list is empty.
lottery::Draw NewestDraw(const ui::Window& window);

}  // namespace draws
