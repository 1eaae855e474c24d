#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "base/local_time.h"

namespace lottery {

// A stretch of the day with draws at a steady pace: the first at start, then
// one every cadence while the window is open. A cadence divides the day, so
// the window's draw minutes fall on the same clock minutes every day.
struct DrawWindow {
  std::chrono::minutes start;  // time of day
  // Time of day the window closes, itself outside; before start when the
  // window runs past midnight.
  std::chrono::minutes end;
  std::chrono::minutes cadence;
  // How long past a draw minute the countdown aims, while the draw reaches
  // the pages.
  std::chrono::seconds countdownDelay;

  bool Contains(base::LocalTime time) const;
  // Whether time's minute lies on the window's grid of draw minutes, open or not.
  bool IsDrawMinute(base::LocalTime time) const;
};

// A lottery's day as data: its windows, the draw that ends an issue day, and
// when an update stops waiting for a draw. The one home of when draws happen.
class Schedule {
 public:
  // dayEnd: the time of day whose draw is the last of its issue day (a draw
  // at midnight closes the day before); the next draw is sequence 1.
  // giveUpAfter: how long after a draw minute the automatic update gives the
  // draw up.
  Schedule(std::vector<DrawWindow> windows, std::chrono::minutes dayEnd,
           std::chrono::minutes giveUpAfter);

  const std::vector<DrawWindow>& windows() const { return windows_; }
  int DrawsPerDay() const { return static_cast<int>(drawTimes_.size()); }

  // When draw `sequence` (1 to DrawsPerDay) of the issue day `date` is drawn;
  // the day's last draws may fall on the next date.
  std::chrono::local_seconds DrawTime(std::chrono::year_month_day date, int sequence) const;

  // The window time falls in; nullptr between windows.
  const DrawWindow* WindowAt(base::LocalTime time) const;

  // The countdown target from now: past the next minute on the grid of the
  // window now falls in, by that window's countdown delay, even when that
  // minute lies beyond the window's end. None between windows.
  std::optional<base::LocalTime> NextDrawTime(base::LocalTime now) const;

  // giveUpAfter past a minute on any window's grid, whichever window the
  // clock is in now: an update may run on into the next window.
  bool IsGiveUpMinute(base::LocalTime time) const;

 private:
  std::vector<DrawWindow> windows_;
  std::chrono::minutes giveUpAfter_;
  std::vector<std::chrono::minutes> drawTimes_;  // by sequence, from the issue date's midnight
};

// The time of day in whole seconds.
std::chrono::seconds TimeOfDay(base::LocalTime time);

}  // namespace lottery
