#include "app/startup.h"

#include <algorithm>
#include <chrono>

#include "archive/archive_handlers.h"
#include "draws/draw_refresh.h"
#include "plan/refresh_boxes.h"
#include "push/push_handlers.h"
#include "search/search_state.h"
#include "settings/settings_file.h"
#include "trend/trend_handlers.h"

namespace app {

void RunCreationHandler(core::Context& ctx) {
  ctx.window.SetVisible(true);
  // Cheap, so the 群发 page says where its groups come from from the first paint.
  push::ShowGroupList(ctx);
  // Let the window paint before the slow work; clicks in this second are
  // handled as usual.
  ctx.window.Pause(std::chrono::milliseconds(1000));
  ctx.search.selectedResultRow = -1;
  settings::LoadSettings(ctx);
  plan::ShowRefreshSettingOnPlanPages(ctx.window);
  // The archive is there before the first refresh stores into it, and the
  // chart shows what it held at the last exit.
  archive::OpenArchive(ctx);
  trend::RebuildTrendChart(ctx);
  // The silver themed look is the window's own: QtWindow applies it when it
  // builds the widgets, and a memory window has no look.
  draws::RefreshDraws(ctx);
}

void ShowWindowWithoutCreationHandler(core::Context& ctx) {
  ctx.window.SetVisible(true);
  archive::ShowExistingArchive(ctx);
}

std::string LoadProgressCaption(int percent) {
  // The page reports what it likes; a share is never below none or above all.
  return "已经加载：" + std::to_string(std::clamp(percent, 0, 100)) + "%";
}

void BindStartupHandlers(core::Context& ctx) {
  ctx.window.Bind("超文本浏览框_开奖", ui::Event::Progress, [&ctx](int percent) {
    ctx.window.SetText("标签_开奖载入提示", LoadProgressCaption(percent));
  });
}

}  // namespace app
