#pragma once

#include "app/program_state.h"

namespace draws {

// The full refresh: rebuilds 列表框_开奖 from the history pages of yesterday
// and today, tops it up from both feeds, shows the newest draw, refills the
// start-issue combo boxes, restarts both timers and re-runs the plans that
// refresh automatically.
void RefreshDraws(app::Context& ctx);

// Click of 超级按钮_更新号码.
void UpdateDrawsClicked(app::Context& ctx);

}  // namespace draws
