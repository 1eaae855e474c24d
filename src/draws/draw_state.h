#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/local_time.h"

namespace draws {

// The history worker's result, handed to the window thread. The only data
// two threads share: the list under the mutex, the flag set last.
struct HistoryHandOver {
  std::mutex mutex;
  std::vector<std::string> items;  // guarded by mutex
  std::atomic<bool> done{false};
};

// What the draw area keeps between events, on the window thread but for the
// hand-over.
struct DrawState {
  std::optional<base::LocalTime> nextDrawTime;
  bool autoUpdateLatch = false;
  HistoryHandOver history;
};

}  // namespace draws
