#include "base/waiter.h"

#include <thread>

namespace base {

void BlockingWaiter::Pause(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

bool BlockingWaiter::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  // done() is asked outside our lock: the waking thread may hold its own lock
  // while it calls Wake().
  while (!done()) {
    std::unique_lock lock(mutex_);
    if (!woken_.wait_until(lock, deadline, [this] { return wakeSeen_; })) return done();
    wakeSeen_ = false;
  }
  return true;
}

void BlockingWaiter::Wake() {
  std::lock_guard lock(mutex_);
  wakeSeen_ = true;
  woken_.notify_all();
}

}  // namespace base
