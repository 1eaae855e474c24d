#include "app/bind_handlers.h"

#include "app/startup.h"
#include "archive/archive_handlers.h"
#include "backtest/backtest_handlers.h"
#include "draws/draw_handlers.h"
#include "net/draw_video.h"
#include "output/output_handlers.h"
#include "plan/plan_handlers.h"
#include "push/push_handlers.h"
#include "search/search_handlers.h"
#include "settings/settings_file.h"
#include "trend/trend_handlers.h"

namespace app {

void BindHandlers(core::Context& ctx) {
  BindStartupHandlers(ctx);
  settings::BindSettingsHandlers(ctx);
  net::BindDrawVideoHandlers(ctx);
  output::BindOutputHandlers(ctx);
  plan::BindPlanHandlers(ctx);
  draws::BindDrawHandlers(ctx);
  search::BindSearchHandlers(ctx);
  archive::BindArchiveHandlers(ctx);
  trend::BindTrendHandlers(ctx);
  push::BindPushHandlers(ctx);
  backtest::BindBacktestHandlers(ctx);
}

}  // namespace app
