#include "draws/history_worker.h"

#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "draws/history_page.h"
#include "net/web_access.h"

namespace draws {

using namespace std::chrono;

namespace {

// Both day pages at their 60 s limit, and their parse, end well within this;
// a worker still busy then is left behind and the refresh goes on without it.
constexpr auto kHistoryWaitLimit = minutes(3);

// What the wait and its worker share, as the worker may outlive the wait:
// its end, and the window to wake, forgotten once the wait has given up.
struct WorkerEnd {
  std::mutex mutex;
  bool finished = false;
  ui::Window* window = nullptr;
};

}  // namespace

void HistoryWorker(HistoryHandOver& handOver, const std::string& historyBase,
                   const lottery::Lottery& lottery, ui::LocalTime now) {
  std::vector<std::string> list;
  local_days today = floor<days>(now);
  for (local_days date : {today - days(1), today}) {
    year_month_day day{date};
    net::WebRequest request;
    request.url = HistoryUrl(historyBase, lottery.sources, day);
    std::string body = net::WebAccess(request, nullptr).body;
    if (body.empty()) continue;
    PrependHistoryItems(list, body, CompactDate(day), lottery);
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
  std::string historyBase = lottery::LoadDrawSources(ctx.dataDir).history;
  ui::LocalTime now = ctx.window.Now();
  ui::Window& window = ctx.window;
  // The worker's own end, seen right after it set the shared done flag: a
  // refresh nested in this wait may take and clear that flag first.
  auto end = std::make_shared<WorkerEnd>();
  end->window = &window;
  std::thread worker;
  try {
    // The worker may outlive the wait: it keeps a lottery of its own.
    worker = std::thread([&handOver, end, historyBase, lottery = ctx.lottery, now] {
      HistoryWorker(handOver, historyBase, lottery, now);
      std::lock_guard lock(end->mutex);
      end->finished = true;
      if (end->window != nullptr) end->window->Wake();
    });
  } catch (const std::system_error&) {
    return {};
  }
  auto finished = [&end] {
    std::lock_guard lock(end->mutex);
    return end->finished;
  };
  // Short waits, so that the limit is seen on the window's clock.
  const ui::LocalTime deadline = now + kHistoryWaitLimit;
  while (!finished() && window.Now() < deadline) window.WaitUntil(finished, seconds(1));
  {
    std::lock_guard lock(end->mutex);
    if (!end->finished) {
      end->window = nullptr;
      worker.detach();
      return {};
    }
  }
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
