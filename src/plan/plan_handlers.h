#pragma once

#include "core/context.h"
#include "plan/plan_settings.h"

namespace plan {

// The plan area's buttons around the page runs of plan_page_run.h.

// A preset button was clicked (its selected state already toggled): keep it
// the only selected one of its kind and run the kind's plans.
void SelectPreset(const core::Env& ctx, PlanKind kind, int preset);

// Page buttons 超级按钮_后一/后二/后三: show the page and select its button only.
void ShowPlanPage(const core::Env& ctx, int page);

// 超级按钮_一键开启: run the plans of the page on show.
void OneKeyStart(const core::Env& ctx);

// Re-runs each kind whose 自动更新 box is checked: position, two-star,
// three-star in that order. Called after new draws arrive and before the
// collection is built.
void RefreshPresetPlans(const core::Env& ctx);

// Binds the start buttons, the thirty preset buttons, the page buttons, the
// one-key button and the paired 自动更新 boxes.
void BindPlanHandlers(const core::Env& ctx);

}  // namespace plan
