#include "plan/plan_handlers.h"

#include <chrono>
#include <string>

#include "plan/plan_page_run.h"
#include "plan/refresh_boxes.h"

namespace plan {
namespace {

const char* ButtonPrefix(PlanKind kind) {
  switch (kind) {
    case PlanKind::Position:
      return "超级按钮_后一";
    case PlanKind::TwoStar:
      return "超级按钮_后二";
    case PlanKind::ThreeStar:
      return "超级按钮_后三";
  }
  return "";
}

void RunKind(const core::Env& ctx, PlanKind kind) {
  switch (kind) {
    case PlanKind::Position:
      RunPositionPlans(ctx);
      break;
    case PlanKind::TwoStar:
      RunTwoStarPlans(ctx);
      break;
    case PlanKind::ThreeStar:
      RunThreeStarPlans(ctx);
      break;
  }
}

constexpr const char* kPages = "高级选择夹_那星";

}  // namespace

void SelectPreset(const core::Env& ctx, PlanKind kind, int preset) {
  std::string prefix = ButtonPrefix(kind);
  for (int i = 1; i <= 10; ++i) {
    if (i != preset) ctx.window.SetSelected(prefix + std::to_string(i), false);
  }
  ctx.window.Pause(std::chrono::milliseconds(200));
  RunKind(ctx, kind);
}

void ShowPlanPage(const core::Env& ctx, int page) {
  ctx.window.SetCurrentPage(kPages, page);
  ctx.window.SetSelected("超级按钮_后一", page == 0);
  ctx.window.SetSelected("超级按钮_后二", page == 1);
  ctx.window.SetSelected("超级按钮_后三", page == 2);
}

void OneKeyStart(const core::Env& ctx) {
  if (ctx.window.CurrentPage(kPages) == 0) RunPositionPlans(ctx);
  if (ctx.window.CurrentPage(kPages) == 1) RunTwoStarPlans(ctx);
  if (ctx.window.CurrentPage(kPages) == 2) RunThreeStarPlans(ctx);
}

void RefreshPresetPlans(const core::Env& ctx) {
  if (ctx.window.Checked("选择框_定位更新")) RunPositionPlans(ctx);
  if (ctx.window.Checked("选择框_后二更新")) RunTwoStarPlans(ctx);
  if (ctx.window.Checked("选择框_后三更新")) RunThreeStarPlans(ctx);
}

void BindPlanHandlers(const core::Env& ctx) {
  ui::Window& window = ctx.window;
  auto click = [&window](const std::string& name, ui::Handler handler) {
    window.Bind(name, ui::Event::Click, std::move(handler));
  };
  click("按钮_定位开始", [&ctx](int) { RunPositionPlans(ctx); });
  click("按钮_二星开始", [&ctx](int) { RunTwoStarPlans(ctx); });
  click("按钮_三星开始", [&ctx](int) { RunThreeStarPlans(ctx); });
  for (PlanKind kind : {PlanKind::Position, PlanKind::TwoStar, PlanKind::ThreeStar}) {
    for (int preset = 1; preset <= 10; ++preset) {
      click(ButtonPrefix(kind) + std::to_string(preset),
            [&ctx, kind, preset](int) { SelectPreset(ctx, kind, preset); });
    }
  }
  click("超级按钮_后一", [&ctx](int) { ShowPlanPage(ctx, 0); });
  click("超级按钮_后二", [&ctx](int) { ShowPlanPage(ctx, 1); });
  click("超级按钮_后三", [&ctx](int) { ShowPlanPage(ctx, 2); });
  click("超级按钮_一键开启", [&ctx](int) { OneKeyStart(ctx); });
  BindRefreshBoxes(window);
}

}  // namespace plan
