#include "draws/draw_handlers.h"

#include "draws/auto_update.h"
#include "draws/draw_refresh.h"

namespace draws {

void BindDrawHandlers(core::Context& ctx) {
  ctx.window.Bind("超级按钮_更新号码", ui::Event::Click, [&ctx](int) { UpdateDrawsClicked(ctx); });
  ctx.window.Bind(kAutoUpdateTimer, ui::Event::Tick, [&ctx](int) { AutoUpdateTick(ctx); });
  ctx.window.Bind(kCountdownTimer, ui::Event::Tick, [&ctx](int) { CountdownTick(ctx); });
}

}  // namespace draws
