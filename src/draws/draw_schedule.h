#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "base/local_time.h"

namespace draws {

// Chongqing's daily windows: draws every 10 minutes from 10:00 to 21:59, every
// 5 minutes from 22:00 to 01:59, none in between.
enum class DrawWindow { Day, Night, Pause };
DrawWindow WindowOfHour(int hour);

struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
};
ClockTime ClockOf(base::LocalTime time);

// Two minutes after a draw minute the automatic update gives that draw up.
bool IsGiveUpMinute(ClockTime time);

// The countdown target from the given time: 2 s past the next minute ending in
// 0 in the day window, the start of the next minute ending in 0 or 5 at night,
// none in the pause window. The window is the one of the starting time.
std::optional<base::LocalTime> NextDrawTime(base::LocalTime now);

// The caption of 标签_倒计时 for the whole seconds left until the target;
// "00:00" once the target has passed, never a negative time.
std::string CountdownText(long long secondsLeft);

}  // namespace draws
