#pragma once

#include <QObject>
#include <chrono>
#include <functional>
#include <vector>

class QEventLoop;

namespace gui {

// The waits of ui::Window on a Qt thread: each keeps the event loop running,
// so the window paints and its handlers run while the program waits. Lives on
// the thread of its window; only Wake() may be called from other threads.
class EventLoopWaits {
 public:
  EventLoopWaits() = default;
  EventLoopWaits(const EventLoopWaits&) = delete;
  EventLoopWaits& operator=(const EventLoopWaits&) = delete;

  void ProcessEvents();
  void Pause(std::chrono::milliseconds duration);
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
  void Wake();

 private:
  QObject wakeTarget_;              // Wake's call is queued to it, to run on this thread
  std::vector<QEventLoop*> loops_;  // the WaitUntil loops running, innermost last
};

}  // namespace gui
