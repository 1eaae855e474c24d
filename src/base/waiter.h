#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace base {

// How a caller spends its waits: for a transfer on another thread, between
// the parts of a message, before a retry. The window is one (it keeps
// processing events, and the console's clock moves on a pause); a tool or a
// worker thread passes a BlockingWaiter.
class Waiter {
 public:
  virtual ~Waiter() = default;
  // Waits the given time.
  virtual void Pause(std::chrono::milliseconds duration) = 0;
  // Waits until done() holds or the real-time limit has passed; returns
  // done(). Wake() has done() looked at again at once.
  virtual bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) = 0;
  // Thread-safe: the thread that finishes the work calls it.
  virtual void Wake() = 0;
};

// Waits by blocking the calling thread.
class BlockingWaiter : public Waiter {
 public:
  void Pause(std::chrono::milliseconds duration) override;
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override;
  void Wake() override;

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool wakeSeen_ = false;
};

}  // namespace base
