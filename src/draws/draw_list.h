#pragma once

#include <string>
#include <string_view>

#include "draws/draw_list_reading.h"
#include "draws/feed_draw.h"
#include "lottery/lottery.h"
#include "ui/window.h"

namespace draws {

// Inserts the feed's draw of the lottery as row 0 when it is newer than the
// current row 0; true when a row was inserted.
bool ApplyFeedDraw(ui::Window& window, const lottery::Lottery& lottery, Feed feed,
                   std::string_view body);

// Shows row 0 in 透明标签_显示期号 and as digit pictures in 图片框1 to 图片框5.
void ShowLatestDraw(ui::Window& window);

// Refills a start-issue combo box with every issue, newest first, and selects
// the tenth newest when there are ten. Left alone when the list is empty or,
// with requireLongIssue, when row 0's issue is 10 characters or shorter.
void FillStartIssueCombo(ui::Window& window, const std::string& combo, bool requireLongIssue);

}  // namespace draws
