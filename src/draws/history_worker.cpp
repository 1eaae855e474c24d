#include "draws/history_worker.h"

#include <atomic>
#include <system_error>
#include <thread>

#include "draws/history_page.h"
#include "net/draw_sources.h"
#include "net/web_access.h"

namespace draws {

using namespace std::chrono;

void HistoryWorker(HistoryHandOver& handOver, const std::string& historyBase, ui::LocalTime now) {
  std::vector<std::string> list;
  local_days today = floor<days>(now);
  for (local_days date : {today - days(1), today}) {
    year_month_day day{date};
    net::WebRequest request;
    request.url = historyBase + std::string(kHistoryPath) + "?" + HistoryQuery(day);
    std::string body = net::WebAccess(request, nullptr).body;
    if (body.empty()) continue;
    PrependHistoryItems(list, body, CompactDate(day));
  }
  {
    std::lock_guard lock(handOver.mutex);
    handOver.items = std::move(list);
  }
  handOver.done = true;
}

std::vector<std::string> FetchHistory(core::Context& ctx) {
  HistoryHandOver& handOver = ctx.draws.history;
  {
    std::lock_guard lock(handOver.mutex);
    handOver.items.clear();
  }
  std::string historyBase = net::LoadDrawSources(ctx.dataDir).history;
  ui::LocalTime now = ctx.window.Now();
  ui::Window& window = ctx.window;
  // The worker's own end, seen right after it set the shared done flag: a
  // refresh nested in this wait may take and clear that flag first.
  std::atomic<bool> finished{false};
  std::thread worker;
  try {
    worker = std::thread([&handOver, &finished, &window, historyBase, now] {
      HistoryWorker(handOver, historyBase, now);
      finished = true;
      window.Wake();
    });
  } catch (const std::system_error&) {
    return {};
  }
  while (!finished.load()) window.WaitUntil([&finished] { return finished.load(); }, hours(1));
  worker.join();
  std::vector<std::string> items;
  {
    std::lock_guard lock(handOver.mutex);
    items.swap(handOver.items);
  }
  handOver.done = false;
  return items;
}

}  // namespace draws
