#include "draws/auto_update.h"

#include <chrono>

#include "draws/countdown_text.h"
#include "draws/draw_list.h"
#include "draws/draw_state.h"
#include "draws/feed_fetch.h"
#include "lottery/draw_sources.h"
#include "net/pump_pause.h"
#include "plan/plan_handlers.h"

namespace draws {

using namespace std::chrono;

namespace {

constexpr const char* kCountdownLabel = "标签_倒计时";

void StartUpdate(core::Context& ctx) {
  ctx.window.SetInterval(kAutoUpdateTimer, 0);
  ctx.window.SetInterval(kCountdownTimer, 0);
  ctx.window.SetText(kCountdownLabel, "00:00");
  AutoUpdateDraws(ctx);
}

// Asks the first feed and, when it brought nothing new, the second.
bool PollFeeds(core::Context& ctx) {
  lottery::DrawSources sources = lottery::LoadDrawSources(ctx.dataDir);
  for (Feed feed : {Feed::First, Feed::Second}) {
    std::string body = FetchFeed(ctx.window, FeedUrl(sources, ctx.lottery.sources, feed), 5);
    if (!body.empty() && ApplyFeedDraw(ctx.window, ctx.lottery, feed, body)) return true;
  }
  return false;
}

}  // namespace

std::string IdleText(const lottery::Lottery& lottery) { return "当前彩种 [" + lottery.name + "]"; }

void AutoUpdateTick(core::Context& ctx) {
  // The clock is read afresh for every test: an update started here runs
  // for seconds or minutes before the next test.
  auto now = [&ctx] { return ctx.window.Now(); };
  for (const lottery::DrawWindow& window : ctx.lottery.schedule.windows()) {
    if (!window.Contains(now())) continue;
    if (window.IsDrawMinute(now()) && !ctx.draws.autoUpdateLatch) StartUpdate(ctx);
    if (!window.IsDrawMinute(now())) ctx.draws.autoUpdateLatch = false;
  }
}

void AutoUpdateDraws(core::Context& ctx) {
  ui::Window& window = ctx.window;
  for (;;) {
    window.SetText("标签_提示", "正在更新，请稍后...");
    if (PollFeeds(ctx)) break;
    window.SetText("标签_提示", IdleText(ctx.lottery));
    net::PumpPause(window, seconds(5));
    if (ctx.lottery.schedule.IsGiveUpMinute(window.Now())) {
      ShowLatestDraw(window);
      ComputeNextDrawTime(ctx);
      ctx.draws.autoUpdateLatch = true;
      window.SetInterval(kAutoUpdateTimer, 1000);
      return;
    }
  }
  ShowLatestDraw(window);
  window.SetText("标签_提示", IdleText(ctx.lottery));
  ComputeNextDrawTime(ctx);
  ctx.draws.autoUpdateLatch = true;
  plan::RefreshPresetPlans(ctx);
  ctx.events.Raise(core::Event::DrawInserted);
  net::PumpPause(window, milliseconds(10));
  window.SetInterval(kAutoUpdateTimer, 1000);
}

void ComputeNextDrawTime(core::Context& ctx) {
  ui::LocalTime now = ctx.window.Now();
  std::optional<ui::LocalTime> target = ctx.lottery.schedule.NextDrawTime(now);
  if (!target) {
    ctx.draws.nextDrawTime = floor<seconds>(now);
    ctx.window.SetText(kCountdownLabel, "00:00");
    return;
  }
  ctx.draws.nextDrawTime = target;
  ctx.window.SetInterval(kCountdownTimer, 1000);
}

void CountdownTick(core::Context& ctx) {
  long long left = 0;
  if (ctx.draws.nextDrawTime) {
    // Whole seconds of the clock on both sides: cutting the milliseconds off
    // the difference instead would count a second low.
    left = (floor<seconds>(*ctx.draws.nextDrawTime) - floor<seconds>(ctx.window.Now())).count();
  }
  ctx.window.SetText(kCountdownLabel, CountdownText(left));
}

}  // namespace draws
