#include "draws/draw_schedule.h"

#include <gtest/gtest.h>

namespace draws {
namespace {

using namespace std::chrono;

base::LocalTime At(int hour, int minute, int second, int millisecond = 0) {
  return base::LocalTime{local_days(2014y / January / 5d).time_since_epoch()} + hours(hour) +
         minutes(minute) + seconds(second) + milliseconds(millisecond);
}

TEST(DrawScheduleTest, WindowsOfTheDay) {
  EXPECT_EQ(WindowOfHour(10), DrawWindow::Day);
  EXPECT_EQ(WindowOfHour(21), DrawWindow::Day);
  EXPECT_EQ(WindowOfHour(22), DrawWindow::Night);
  EXPECT_EQ(WindowOfHour(0), DrawWindow::Night);
  EXPECT_EQ(WindowOfHour(1), DrawWindow::Night);
  EXPECT_EQ(WindowOfHour(2), DrawWindow::Pause);
  EXPECT_EQ(WindowOfHour(9), DrawWindow::Pause);
}

TEST(DrawScheduleTest, ClockOfReadsWholeSeconds) {
  ClockTime clock = ClockOf(At(23, 7, 30, 999));
  EXPECT_EQ(clock.hour, 23);
  EXPECT_EQ(clock.minute, 7);
  EXPECT_EQ(clock.second, 30);
}

TEST(DrawScheduleTest, GiveUpTwoMinutesAfterEachDrawMinute) {
  for (int minute : {2, 7, 12, 32, 57}) EXPECT_TRUE(IsGiveUpMinute({14, minute, 0})) << minute;
  for (int minute : {0, 1, 3, 5, 30, 58}) EXPECT_FALSE(IsGiveUpMinute({14, minute, 0})) << minute;
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
    EXPECT_EQ(NextDrawTime(c.now), c.target);
  }
}

TEST(NextDrawTimeTest, NoTargetInThePause) {
  EXPECT_EQ(NextDrawTime(At(5, 0, 0)), std::nullopt);
  EXPECT_EQ(NextDrawTime(At(2, 0, 0)), std::nullopt);
  EXPECT_EQ(NextDrawTime(At(9, 59, 59)), std::nullopt);
}

TEST(CountdownTextTest, MinutesAlwaysLeadWithZero) {
  struct Case {
    long long left;
    const char* text;
  };
  for (const Case& c : std::vector<Case>{{125, "02:04"},
                                         {60, "00:59"},
                                         {11, "00:10"},
                                         {10, "00:09"},
                                         {2, "00:01"},
                                         {1, "00:00"},
                                         {601, "010:00"},
                                         {602, "010:01"}}) {
    EXPECT_EQ(CountdownText(c.left), c.text) << c.left;
  }
}

TEST(CountdownTextTest, NeverNegativeOnceTheTargetHasPassed) {
  for (long long left : {0LL, -1LL, -59LL, -3600LL * 8}) EXPECT_EQ(CountdownText(left), "00:00");
}

}  // namespace
}  // namespace draws
