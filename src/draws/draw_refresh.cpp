#include "draws/draw_refresh.h"

#include <chrono>
#include <string>
#include <vector>

#include "draws/auto_update.h"
#include "draws/draw_list.h"
#include "draws/draw_state.h"
#include "draws/feed_fetch.h"
#include "draws/history_worker.h"
#include "lottery/draw_sources.h"
#include "lottery/lottery.h"
#include "net/pump_pause.h"
#include "plan/plan_handlers.h"

namespace draws {

namespace {

constexpr std::size_t kHistoryRows = 180;
constexpr const char* kFailedText = "更新失败，保留原有数据";

// Asks a feed up to three times (3 s, then 4 s twice) while it answers
// nothing, and applies what it answered.
void TopUpFromFeed(ui::Window& window, const lottery::Lottery& lottery,
                   const lottery::DrawSources& sources, Feed feed) {
  std::string url = FeedUrl(sources, lottery.sources, feed);
  std::string body = FetchFeed(window, url, 3);
  for (int retries = 0; body.empty() && retries < 2; ++retries) {
    body = FetchFeed(window, url, 4);
    window.Pause(std::chrono::milliseconds(300));
  }
  if (!body.empty()) ApplyFeedDraw(window, lottery, feed, body);
}

}  // namespace

void RefreshDraws(core::Context& ctx) {
  ui::Window& window = ctx.window;
  window.SetInterval(kAutoUpdateTimer, 0);
  window.SetInterval(kCountdownTimer, 0);
  window.SetText("标签_提示", "正在更新，请稍后...");

  // Both radio boxes name the same history source.
  std::vector<std::string> items;
  if (window.Checked("单选框_数据源1")) items = FetchHistory(ctx);
  if (window.Checked("单选框_数据源2")) items = FetchHistory(ctx);
  // A refresh that brought no draw keeps the rows there were: an empty list
  // would leave the plans nothing and tell the user nothing.
  const bool gotHistory = !items.empty();
  if (gotHistory) window.DeleteAllRows(kDrawList);
  for (std::size_t i = 1; i <= items.size() && i <= kHistoryRows; ++i) {
    const std::string& item = items[i - 1];
    int row = window.InsertRow(kDrawList, -1);
    window.SetCell(kDrawList, row, 0, item.substr(0, 12));
    window.SetCell(kDrawList, row, 1, item.substr(item.size() - 5));
    // the newest rows show at once, the rest follow without pauses
    if (i < 10) net::PumpPause(window, std::chrono::microseconds(1));
  }

  lottery::DrawSources sources = lottery::LoadDrawSources(ctx.dataDir);
  TopUpFromFeed(window, ctx.lottery, sources, Feed::First);
  TopUpFromFeed(window, ctx.lottery, sources, Feed::Second);
  ctx.events.Raise(core::Event::DrawsRefreshed);

  ShowLatestDraw(window);
  ComputeNextDrawTime(ctx);
  FillStartIssueCombo(window, "组合框_定位起始期1", true);
  FillStartIssueCombo(window, "组合框_二星起始期1", true);
  FillStartIssueCombo(window, "组合框_三星起始期1", true);
  FillStartIssueCombo(window, "组合框_搜起始期", false);
  window.SetInterval(kAutoUpdateTimer, 1000);
  window.SetText("标签_提示", "");
  plan::RefreshPresetPlans(ctx);
  window.SetText("标签_提示", gotHistory ? IdleText(ctx.lottery) : kFailedText);
  window.Navigate("超文本浏览框1", sources.announcement);
}

void UpdateDrawsClicked(core::Context& ctx) {
  RefreshDraws(ctx);
  ctx.window.Navigate("超文本浏览框1", lottery::LoadDrawSources(ctx.dataDir).announcement);
}

}  // namespace draws
