#include "lottery/schedule.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "lottery/lottery.h"

namespace lottery {
namespace {

using namespace std::chrono;

constexpr year_month_day kDay = 2014y / January / 5d;

base::LocalTime At(int hour, int minute, int second, int millisecond = 0) {
  return base::LocalTime{local_days(kDay).time_since_epoch()} + hours(hour) + minutes(minute) +
         seconds(second) + milliseconds(millisecond);
}

const Schedule& Chongqing() { return lottery::Chongqing().schedule; }

TEST(DrawScheduleTest, WindowsOfTheDay) {
  const DrawWindow* day = &Chongqing().windows()[0];
  const DrawWindow* night = &Chongqing().windows()[1];
  EXPECT_EQ(Chongqing().WindowAt(At(10, 0, 0)), day);
  EXPECT_EQ(Chongqing().WindowAt(At(21, 59, 59)), day);
  EXPECT_EQ(Chongqing().WindowAt(At(22, 0, 0)), night);
  EXPECT_EQ(Chongqing().WindowAt(At(0, 0, 0)), night);
  EXPECT_EQ(Chongqing().WindowAt(At(1, 59, 59)), night);
  EXPECT_EQ(Chongqing().WindowAt(At(2, 0, 0)), nullptr);
  EXPECT_EQ(Chongqing().WindowAt(At(9, 59, 59)), nullptr);
}

TEST(DrawScheduleTest, TimeOfDayReadsWholeSeconds) {
  EXPECT_EQ(TimeOfDay(At(23, 7, 30, 999)), hours(23) + minutes(7) + seconds(30));
}

TEST(DrawScheduleTest, GiveUpTwoMinutesAfterEachDrawMinute) {
  for (int minute : {2, 7, 12, 32, 57}) {
    EXPECT_TRUE(Chongqing().IsGiveUpMinute(At(14, minute, 0))) << minute;
  }
  for (int minute : {0, 1, 3, 5, 30, 58}) {
    EXPECT_FALSE(Chongqing().IsGiveUpMinute(At(14, minute, 0))) << minute;
  }
}

TEST(NextDrawTimeTest, TargetsOfTheDayAndNightWindows) {
  struct Case {
    base::LocalTime now, target;
  };
  for (const Case& c : std::vector<Case>{
           {At(12, 34, 10), At(12, 40, 2)},
           {At(12, 39, 59), At(12, 40, 2)},
           {At(12, 40, 0), At(12, 50, 2)},
           {At(12, 40, 1), At(12, 50, 2)},
           {At(10, 0, 0), At(10, 10, 2)},
           {At(23, 7, 30), At(23, 10, 0)},
           {At(23, 10, 0), At(23, 15, 0)},
           {At(23, 14, 59), At(23, 15, 0)},
           {At(12, 34, 10, 700), At(12, 40, 2)},  // fractions of the clock are cut off
           // the window is the one of the starting time
           {At(21, 55, 0), At(22, 0, 2)},
           {At(1, 57, 0), At(2, 0, 0)},
           {At(23, 59, 0), At(23, 59, 0) + minutes(1)},
       }) {
    EXPECT_EQ(Chongqing().NextDrawTime(c.now), c.target);
  }
}

TEST(NextDrawTimeTest, NoTargetInThePause) {
  EXPECT_EQ(Chongqing().NextDrawTime(At(5, 0, 0)), std::nullopt);
  EXPECT_EQ(Chongqing().NextDrawTime(At(2, 0, 0)), std::nullopt);
  EXPECT_EQ(Chongqing().NextDrawTime(At(9, 59, 59)), std::nullopt);
}

// The rules as they were written before the schedule became data: the hour
// picks the window, the minute's last digit the draw minutes.
enum class OldWindow { Day, Night, Pause };

OldWindow OldWindowOfHour(int hour) {
  if (hour >= 10 && hour < 22) return OldWindow::Day;
  if (hour >= 22 || hour < 2) return OldWindow::Night;
  return OldWindow::Pause;
}

std::optional<base::LocalTime> OldNextDrawTime(int hour, int minute, int second) {
  const base::LocalTime start = At(hour, minute, second);
  switch (OldWindowOfHour(hour)) {
    case OldWindow::Day:
      return start + seconds((9 - minute % 10) * 60 + (59 - second) + 3);
    case OldWindow::Night:
      return start + seconds((4 - minute % 5) * 60 + (59 - second) + 1);
    case OldWindow::Pause:
      return std::nullopt;
  }
  return std::nullopt;
}

bool OldUpdateFires(int hour, int minute) {
  switch (OldWindowOfHour(hour)) {
    case OldWindow::Day:
      return minute % 10 == 0;
    case OldWindow::Night:
      return minute % 10 == 5 || minute % 10 == 0;
    case OldWindow::Pause:
      return false;
  }
  return false;
}

// What the automatic update's tick asks of the schedule.
bool UpdateFires(const Schedule& schedule, base::LocalTime time) {
  for (const DrawWindow& window : schedule.windows()) {
    if (window.Contains(time) && window.IsDrawMinute(time)) return true;
  }
  return false;
}

TEST(DrawScheduleTest, EverySecondOfTheDayKeepsTheOldCountdownTarget) {
  for (int hour = 0; hour < 24; ++hour) {
    for (int minute = 0; minute < 60; ++minute) {
      for (int second = 0; second < 60; ++second) {
        ASSERT_EQ(Chongqing().NextDrawTime(At(hour, minute, second)),
                  OldNextDrawTime(hour, minute, second))
            << hour << ":" << minute << ":" << second;
      }
    }
  }
}

TEST(DrawScheduleTest, EveryMinuteOfTheDayKeepsTheOldUpdateAndGiveUpMinutes) {
  int fired = 0;
  for (int hour = 0; hour < 24; ++hour) {
    for (int minute = 0; minute < 60; ++minute) {
      const base::LocalTime time = At(hour, minute, 30);
      ASSERT_EQ(UpdateFires(Chongqing(), time), OldUpdateFires(hour, minute))
          << hour << ":" << minute;
      ASSERT_EQ(Chongqing().IsGiveUpMinute(time), minute % 5 == 2) << hour << ":" << minute;
      fired += UpdateFires(Chongqing(), time) ? 1 : 0;
    }
  }
  EXPECT_EQ(fired, Chongqing().DrawsPerDay());
}

TEST(DrawScheduleTest, HundredTwentyDrawsOnTheChongqingSchedule) {
  auto at = [](year_month_day day, int hour, int minute) {
    return local_days(day) + hours(hour) + minutes(minute);
  };
  EXPECT_EQ(Chongqing().DrawsPerDay(), 120);
  EXPECT_EQ(Chongqing().DrawTime(kDay, 1), at(kDay, 0, 5));
  EXPECT_EQ(Chongqing().DrawTime(kDay, 23), at(kDay, 1, 55));
  EXPECT_EQ(Chongqing().DrawTime(kDay, 24), at(kDay, 10, 0));
  EXPECT_EQ(Chongqing().DrawTime(kDay, 96), at(kDay, 22, 0));
  EXPECT_EQ(Chongqing().DrawTime(kDay, 97), at(kDay, 22, 5));
  EXPECT_EQ(Chongqing().DrawTime(kDay, 120), at(2014y / January / 6d, 0, 0));
  for (int sequence = 2; sequence <= Chongqing().DrawsPerDay(); ++sequence) {
    EXPECT_LT(Chongqing().DrawTime(kDay, sequence - 1), Chongqing().DrawTime(kDay, sequence));
  }
}

// A game whose issue day runs past midnight, as data: one window from 10:10
// to 02:10, every 10 minutes, the day ending with the 02:00 draw.
TEST(DrawScheduleTest, AnIssueDayMayRunPastMidnight) {
  const Schedule late(
      {{.start = 10h + 10min, .end = 2h + 10min, .cadence = 10min, .countdownDelay = 0s}},
      /*dayEnd=*/10h, /*giveUpAfter=*/3min);
  EXPECT_EQ(late.DrawsPerDay(), 96);
  EXPECT_EQ(late.DrawTime(kDay, 1), local_days(kDay) + 10h + 10min);
  EXPECT_EQ(late.DrawTime(kDay, 84), local_days(kDay) + 24h);
  EXPECT_EQ(late.DrawTime(kDay, 96), local_days(kDay) + 26h);
  EXPECT_EQ(late.NextDrawTime(At(1, 55, 0)), At(2, 0, 0));
  EXPECT_EQ(late.NextDrawTime(At(2, 5, 0)), At(2, 10, 0));  // past its window's last draw
  EXPECT_EQ(late.NextDrawTime(At(2, 10, 0)), std::nullopt);
  EXPECT_TRUE(late.IsGiveUpMinute(At(10, 13, 0)));
  EXPECT_FALSE(late.IsGiveUpMinute(At(10, 12, 0)));
}

}  // namespace
}  // namespace lottery
