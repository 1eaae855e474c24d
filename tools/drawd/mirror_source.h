#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "base/result.h"
#include "mirror_draws.h"

namespace drawd {

// Where the mirror's draws come from: simulated on the mirrored lottery's
// schedule up to the mirror's clock, or a draw file read again whenever it changes.
// Thread-safe: the server answers on several threads.
class MirrorSource {
 public:
  using Clock = std::function<LocalSeconds()>;

  static MirrorSource Simulated(Clock clock);
  static base::Result<MirrorSource> FromFile(std::filesystem::path file);

  MirrorSource(MirrorSource&& other) noexcept;

  // The draws of one day, ascending by sequence.
  std::vector<lottery::Draw> DayDraws(std::chrono::year_month_day day);
  std::optional<lottery::Draw> Newest();

 private:
  MirrorSource() = default;
  // Re-reads the file when its time or size changed; keeps the last draws
  // when it has become unreadable.
  void Refresh();

  Clock clock_;
  std::filesystem::path file_;
  std::mutex mutex_;
  std::vector<lottery::Draw> fileDraws_;  // guarded by mutex_
  std::filesystem::file_time_type fileTime_{};
  std::uintmax_t fileSize_ = 0;
  bool loaded_ = false;
};

// A clock that starts at `start` and runs on with real time.
MirrorSource::Clock ClockFrom(LocalSeconds start);
// The machine's local time now.
LocalSeconds LocalNow();

}  // namespace drawd
