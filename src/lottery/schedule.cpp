#include "lottery/schedule.h"

#include <algorithm>

namespace lottery {
namespace {

using namespace std::chrono;

constexpr minutes kDay = days(1);

// The remainder that is never negative, for times that wrap at midnight.
template <typename Duration>
Duration Wrap(Duration value, Duration period) {
  Duration rest = value % period;
  return rest < Duration::zero() ? rest + period : rest;
}

minutes MinuteOfDay(base::LocalTime time) { return duration_cast<minutes>(TimeOfDay(time)); }

minutes Length(const DrawWindow& window) { return Wrap(window.end - window.start, kDay); }

}  // namespace

seconds TimeOfDay(base::LocalTime time) { return floor<seconds>(time - floor<days>(time)); }

bool DrawWindow::Contains(base::LocalTime time) const {
  return Wrap(MinuteOfDay(time) - start, kDay) < Length(*this);
}

bool DrawWindow::IsDrawMinute(base::LocalTime time) const {
  return Wrap(MinuteOfDay(time) - start, cadence) == minutes::zero();
}

Schedule::Schedule(std::vector<DrawWindow> windows, minutes dayEnd, minutes giveUpAfter)
    : windows_(std::move(windows)), giveUpAfter_(giveUpAfter) {
  for (const DrawWindow& window : windows_) {
    for (minutes open{0}; open < Length(window); open += window.cadence) {
      // A draw at the day's end itself is the last of the day before.
      minutes intoDay = Wrap(window.start + open - dayEnd, kDay);
      if (intoDay == minutes::zero()) intoDay = kDay;
      drawTimes_.push_back(dayEnd + intoDay);
    }
  }
  std::sort(drawTimes_.begin(), drawTimes_.end());
}

local_seconds Schedule::DrawTime(year_month_day date, int sequence) const {
  return local_days(date) + drawTimes_[static_cast<std::size_t>(sequence - 1)];
}

const DrawWindow* Schedule::WindowAt(base::LocalTime time) const {
  for (const DrawWindow& window : windows_) {
    if (window.Contains(time)) return &window;
  }
  return nullptr;
}

std::optional<base::LocalTime> Schedule::NextDrawTime(base::LocalTime now) const {
  const auto start = floor<seconds>(now);
  const DrawWindow* window = WindowAt(start);
  if (!window) return std::nullopt;
  const seconds sinceGridMinute = Wrap(TimeOfDay(start) - window->start, seconds(window->cadence));
  return start + (window->cadence - sinceGridMinute) + window->countdownDelay;
}

bool Schedule::IsGiveUpMinute(base::LocalTime time) const {
  const minutes minute = MinuteOfDay(time);
  return std::any_of(windows_.begin(), windows_.end(), [&](const DrawWindow& window) {
    return Wrap(minute - window.start - giveUpAfter_, window.cadence) == minutes::zero();
  });
}

}  // namespace lottery
