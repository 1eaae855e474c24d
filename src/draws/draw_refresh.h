#pragma once

#include "core/context.h"

namespace draws {

// The full refresh: rebuilds 列表框_开奖 from the history pages of yesterday
// and today, tops it up from both feeds, shows the newest draw, refills the
// start-issue combo boxes, restarts both timers and re-runs the plans that
// refresh automatically. When the history brings no draw the list keeps its
// rows and 标签_提示 ends saying the refresh failed.
void RefreshDraws(core::Context& ctx);

// Click of 超级按钮_更新号码.
void UpdateDrawsClicked(core::Context& ctx);

}  // namespace draws
