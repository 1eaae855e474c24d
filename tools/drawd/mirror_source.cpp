#include "mirror_source.h"

#include <algorithm>
#include <ctime>
#include <iostream>

#include "base/atomic_file.h"

namespace drawd {

using namespace std::chrono;

MirrorSource MirrorSource::Simulated(Clock clock) {
  MirrorSource source;
  source.clock_ = std::move(clock);
  return source;
}

base::Result<MirrorSource> MirrorSource::FromFile(std::filesystem::path file) {
  auto content = base::ReadSmallFile(file);
  if (!content)
    return base::Error{"cannot read draw file " + file.string() + ": " + content.error().message};
  MirrorSource source;
  source.file_ = std::move(file);
  source.Refresh();
  return source;
}

MirrorSource::MirrorSource(MirrorSource&& other) noexcept
    : clock_(std::move(other.clock_)),
      file_(std::move(other.file_)),
      fileDraws_(std::move(other.fileDraws_)),
      fileTime_(other.fileTime_),
      fileSize_(other.fileSize_),
      loaded_(other.loaded_) {}

void MirrorSource::Refresh() {
  std::error_code error;
  auto time = std::filesystem::last_write_time(file_, error);
  if (error) return;
  auto size = std::filesystem::file_size(file_, error);
  if (error || (loaded_ && time == fileTime_ && size == fileSize_)) return;
  auto content = base::ReadSmallFile(file_);
  if (!content) return;
  int malformed = 0;
  fileDraws_ = ParseDrawFile(content.value(), &malformed);
  if (malformed > 0) {
    std::cerr << "lanzhou-drawd: " << malformed << " malformed line(s) in " << file_.string()
              << " skipped\n";
  }
  fileTime_ = time;
  fileSize_ = size;
  loaded_ = true;
}

namespace {

// Kept issues of one form compare as their dates and sequences do.
bool IssueBefore(const lottery::Draw& a, const lottery::Draw& b) { return a.issue < b.issue; }

}  // namespace

std::vector<lottery::Draw> MirrorSource::DayDraws(year_month_day day) {
  std::vector<lottery::Draw> draws;
  if (clock_) {
    LocalSeconds now = clock_();
    const int drawsPerDay = MirroredLottery().schedule.DrawsPerDay();
    for (int sequence = 1; sequence <= drawsPerDay && DrawTime({day, sequence}) <= now;
         ++sequence) {
      draws.push_back(SimulatedDraw({day, sequence}));
    }
    return draws;
  }
  std::lock_guard lock(mutex_);
  Refresh();
  for (const lottery::Draw& draw : fileDraws_) {
    if (IssueOf(draw).date == day) draws.push_back(draw);
  }
  std::stable_sort(draws.begin(), draws.end(), IssueBefore);
  return draws;
}

std::optional<lottery::Draw> MirrorSource::Newest() {
  if (clock_) {
    LocalSeconds now = clock_();
    year_month_day today{floor<days>(now)};
    // the newest draw is today's or, before the day's first, yesterday's last
    for (year_month_day day : {today, year_month_day{local_days(today) - days(1)}}) {
      for (int sequence = MirroredLottery().schedule.DrawsPerDay(); sequence >= 1; --sequence) {
        if (DrawTime({day, sequence}) <= now) return SimulatedDraw({day, sequence});
      }
    }
    return std::nullopt;
  }
  std::lock_guard lock(mutex_);
  Refresh();
  auto newest = std::max_element(fileDraws_.begin(), fileDraws_.end(), IssueBefore);
  if (newest == fileDraws_.end()) return std::nullopt;
  return *newest;
}

MirrorSource::Clock ClockFrom(LocalSeconds start) {
  auto anchor = steady_clock::now();
  return [start, anchor] { return start + duration_cast<seconds>(steady_clock::now() - anchor); };
}

LocalSeconds LocalNow() {
  std::time_t now = system_clock::to_time_t(system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  year_month_day day{year(local.tm_year + 1900), month(local.tm_mon + 1),
                     std::chrono::day(local.tm_mday)};
  return LocalSeconds{local_days(day).time_since_epoch()} + hours(local.tm_hour) +
         minutes(local.tm_min) + seconds(local.tm_sec);
}

}  // namespace drawd
