#include "draws/draw_schedule.h"

namespace draws {

DrawWindow WindowOfHour(int hour) {
  if (hour >= 10 && hour < 22) return DrawWindow::Day;
  if (hour >= 22 || hour < 2) return DrawWindow::Night;
  return DrawWindow::Pause;
}

ClockTime ClockOf(base::LocalTime time) {
  auto sinceMidnight = time - std::chrono::floor<std::chrono::days>(time);
  std::chrono::hh_mm_ss clock(std::chrono::floor<std::chrono::seconds>(sinceMidnight));
  return {static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
          static_cast<int>(clock.seconds().count())};
}

bool IsGiveUpMinute(ClockTime time) { return time.minute % 5 == 2; }

std::optional<base::LocalTime> NextDrawTime(base::LocalTime now) {
  using std::chrono::seconds;
  auto start = std::chrono::floor<seconds>(now);
  ClockTime clock = ClockOf(start);
  switch (WindowOfHour(clock.hour)) {
    case DrawWindow::Day:
      // to second 59 of the next minute ending in 9, then 3 s on
      return start + seconds((9 - clock.minute % 10) * 60 + (59 - clock.second) + 3);
    case DrawWindow::Night:
      // to second 59 of the next minute ending in 4 or 9, then 1 s on
      return start + seconds((4 - clock.minute % 5) * 60 + (59 - clock.second) + 1);
    case DrawWindow::Pause:
      return std::nullopt;
  }
  return std::nullopt;
}

std::string CountdownText(long long secondsLeft) {
  long long s = secondsLeft - 1;
  if (s < 0) return "00:00";
  long long remainder = s % 60;
  return "0" + std::to_string(s / 60) + ":" + (remainder <= 9 ? "0" : "") +
         std::to_string(remainder);
}

}  // namespace draws
