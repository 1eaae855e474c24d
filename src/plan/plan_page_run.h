#pragma once

#include "core/context.h"

namespace plan {

// One run of a plan page, the click handlers of 按钮_定位开始, 按钮_二星开始 and
// 按钮_三星开始: copy the one-key settings into the page, run the ten presets
// of the kind over the draw list, caption the preset buttons with their
// accuracy and show the selected preset's report, its formula in 所用公式 — or,
// with 自定义 checked, the report of the formula in 所用公式 under the
// caption's [自定义]. The page's large box repeats the result box after every
// run. Nothing happens before a draw is loaded; a missing code or period
// count, or an empty own formula, is named in the kind's output caption and
// the plan on show stays.
void RunPositionPlans(const core::Env& ctx);
void RunTwoStarPlans(const core::Env& ctx);
void RunThreeStarPlans(const core::Env& ctx);

}  // namespace plan
