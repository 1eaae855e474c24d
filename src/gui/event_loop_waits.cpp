#include "gui/event_loop_waits.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace gui {
namespace {

// Exit codes of the WaitUntil loop; anything else means the application is
// quitting and every wait must give up.
constexpr int kWoken = 1;
constexpr int kTimedOut = 2;

}  // namespace

void EventLoopWaits::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void EventLoopWaits::Pause(std::chrono::milliseconds duration) {
  if (duration.count() <= 0) {
    ProcessEvents();
    return;
  }
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(0); });
  timer.start(
      static_cast<int>(std::min<std::chrono::milliseconds::rep>(duration.count(), INT_MAX)));
  loop.exec();
}

bool EventLoopWaits::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  // Limits beyond a year mean "no limit" and must not overflow the clock.
  const auto capped = std::min<std::chrono::milliseconds>(limit, std::chrono::hours(24 * 366));
  const Clock::time_point deadline = Clock::now() + capped;
  while (!done()) {
    const auto remaining =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (remaining <= 0) {
      break;
    }
    QEventLoop loop;
    QTimer limitTimer;
    limitTimer.setSingleShot(true);
    QObject::connect(&limitTimer, &QTimer::timeout, &loop, [&loop] { loop.exit(kTimedOut); });
    limitTimer.start(static_cast<int>(std::min<long long>(remaining, INT_MAX)));
    // Handlers run inside the wait may settle done() too: look again whenever
    // the pending events are through, before the loop goes to sleep.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &loop, [&loop, &done] {
                       if (done()) {
                         loop.exit(kWoken);
                       }
                     });
    loops_.push_back(&loop);
    const int code = loop.exec();
    loops_.erase(std::find(loops_.begin(), loops_.end(), &loop));
    if (code != kWoken && code != kTimedOut) {
      break;
    }
  }
  return done();
}

void EventLoopWaits::Wake() {
  QMetaObject::invokeMethod(
      &wakeTarget_,
      [this] {
        for (QEventLoop* loop : loops_) {
          loop->exit(kWoken);
        }
      },
      Qt::QueuedConnection);
}

}  // namespace gui
