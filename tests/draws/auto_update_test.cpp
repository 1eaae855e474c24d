#include "draws/auto_update.h"

#include <gtest/gtest.h>

#include "draws_harness.h"
#include "lanzhou_test.h"

namespace draws {
namespace {

using namespace draws_test;

constexpr year_month_day kToday = 2014y / January / 5d;

class AutoUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.Install(server.server());
    server.Start();
    h.UseServer(server);
    h.AddRow("20140105-050", "11111");
    h.AddRow("20140105-049", "22222");
    oldDraw = FirstFeedBody("140105050", "1,1,1,1,1");
    newDraw = FirstFeedBody("140105051", "9,0,8,1,7");
    fake.SetFeed(2, {SecondFeedBody("20140105050", "1,1,1,1,1")});
  }
  void TickAt(ui::LocalTime time) {
    h.window.SetClock(time);
    h.window.Tick("时钟_自动更新");
  }
  int Requests() const { return fake.FeedRequests(1) + fake.FeedRequests(2); }

  LocalServer server;
  FakeSources fake;
  Harness h;
  std::string oldDraw, newDraw;
};

TEST_F(AutoUpdateTest, DrawMinuteTriggersOnceAndTheNextMinuteClearsTheLatch) {
  fake.SetFeed(1, {newDraw});
  h.window.SetInterval("时钟_自动更新", 1000);
  h.window.SetInterval("时钟_倒计时", 1000);
  TickAt(At(kToday, 14, 30, 0));

  ASSERT_EQ(h.Rows(), 3);
  EXPECT_EQ(h.Issue(0), "20140105-051");
  EXPECT_EQ(h.drawsInserted, 1);
  EXPECT_EQ(h.autoTimerDuringHook, 0);  // both timers were stopped for the update
  EXPECT_CONTROL_TEXT(h.window, "标签_倒计时", "00:00");
  EXPECT_CONTROL_TEXT(h.window, "透明标签_显示期号", " 第:20140105-051 期");
  EXPECT_EQ(h.window.PictureOf("图片框1"), ui::Picture{9});
  EXPECT_CONTROL_TEXT(h.window, "标签_提示", "当前彩种 [重庆]");
  EXPECT_TRUE(h.states.draws.autoUpdateLatch);
  EXPECT_EQ(h.window.Interval("时钟_自动更新"), 1000);
  EXPECT_EQ(h.window.Interval("时钟_倒计时"), 1000);
  EXPECT_EQ(h.states.draws.nextDrawTime, At(kToday, 14, 40, 2));
  EXPECT_EQ(Requests(), 1);

  for (int second : {1, 30, 59}) TickAt(At(kToday, 14, 30, second));
  EXPECT_EQ(Requests(), 1);
  EXPECT_TRUE(h.states.draws.autoUpdateLatch);

  TickAt(At(kToday, 14, 31, 0));
  EXPECT_FALSE(h.states.draws.autoUpdateLatch);
  EXPECT_EQ(Requests(), 1);
}

TEST_F(AutoUpdateTest, MinuteEndingInFiveIsADrawMinuteOnlyAtNight) {
  fake.SetFeed(1, {newDraw});
  TickAt(At(kToday, 12, 45, 0));
  EXPECT_EQ(Requests(), 0);
  EXPECT_FALSE(h.states.draws.autoUpdateLatch);

  TickAt(At(kToday, 23, 45, 0));
  EXPECT_EQ(Requests(), 1);
  EXPECT_EQ(h.Issue(0), "20140105-051");
  EXPECT_EQ(h.states.draws.nextDrawTime, At(kToday, 23, 50, 0));
}

TEST_F(AutoUpdateTest, NothingHappensInThePause) {
  fake.SetFeed(1, {newDraw});
  h.states.draws.autoUpdateLatch = true;
  TickAt(At(kToday, 5, 0, 0));
  TickAt(At(kToday, 5, 1, 0));
  EXPECT_EQ(Requests(), 0);
  EXPECT_TRUE(h.states.draws.autoUpdateLatch);  // not even the latch is cleared

  ComputeNextDrawTime(h.ctx);
  EXPECT_CONTROL_TEXT(h.window, "标签_倒计时", "00:00");
  EXPECT_EQ(h.window.Interval("时钟_倒计时"), 0);
}

TEST_F(AutoUpdateTest, DrawArrivingInTheSecondPassRefreshesThePlansOnce) {
  fake.SetFeed(1, {oldDraw, newDraw});
  TickAt(At(kToday, 14, 30, 0));
  EXPECT_EQ(fake.FeedRequests(1), 2);
  EXPECT_EQ(fake.FeedRequests(2), 1);  // asked in the first pass only
  EXPECT_EQ(h.drawsInserted, 1);
  ASSERT_EQ(h.Rows(), 3);
  EXPECT_EQ(h.Issue(0), "20140105-051");
  EXPECT_EQ(h.Code(0), "90817");
}

TEST_F(AutoUpdateTest, SecondFeedBringsTheDrawWhenTheFirstLags) {
  fake.SetFeed(1, {oldDraw});
  fake.SetFeed(2, {SecondFeedBody("20140105051", "3,3,3,3,3")});
  TickAt(At(kToday, 22, 0, 0));
  EXPECT_EQ(h.Issue(0), "20140105-051");
  EXPECT_EQ(h.Code(0), "33333");
  EXPECT_EQ(h.drawsInserted, 1);
}

TEST_F(AutoUpdateTest, GivesTheDrawUpTwoMinutesAfterTheDrawMinute) {
  fake.SetFeed(1, {oldDraw});
  TickAt(At(kToday, 14, 30, 0));
  EXPECT_EQ(h.Rows(), 2);
  EXPECT_EQ(h.drawsInserted, 0);
  // 5-second passes from 14:30:00 until the pause ends in minute 32
  EXPECT_EQ(fake.FeedRequests(1), 24);
  EXPECT_EQ(duration_cast<minutes>(lottery::TimeOfDay(h.window.Now())) % hours(1), minutes(32));
  // the update set the latch; the tick that started it, reading the clock
  // again, is no longer in a draw minute and clears it
  EXPECT_FALSE(h.states.draws.autoUpdateLatch);
  EXPECT_EQ(h.window.Interval("时钟_自动更新"), 1000);
  EXPECT_EQ(h.window.Interval("时钟_倒计时"), 1000);
  EXPECT_EQ(h.states.draws.nextDrawTime, At(kToday, 14, 40, 2));
  EXPECT_CONTROL_TEXT(h.window, "标签_提示", "当前彩种 [重庆]");
}

TEST_F(AutoUpdateTest, CountdownShowsTheTimeLeftAndNeverANegativeTime) {
  h.window.SetClock(At(kToday, 12, 34, 10));
  ComputeNextDrawTime(h.ctx);
  ASSERT_EQ(h.states.draws.nextDrawTime, At(kToday, 12, 40, 2));
  struct Case {
    seconds before;
    const char* text;
  };
  // The clock runs on from each whole second by a few milliseconds at most
  // before the tick reads it.
  for (const Case& c : std::vector<Case>{{seconds(352), "05:51"},
                                         {seconds(125), "02:04"},
                                         {seconds(60), "00:59"},
                                         {seconds(11), "00:10"},
                                         {seconds(10), "00:09"},
                                         {seconds(601), "010:00"},
                                         {seconds(-3600), "00:00"}}) {
    h.window.SetClock(*h.states.draws.nextDrawTime - c.before);
    h.window.Tick("时钟_倒计时");
    EXPECT_CONTROL_TEXT(h.window, "标签_倒计时", c.text);
  }
}

TEST_F(AutoUpdateTest, CountdownCountsWholeSecondsOfTheClock) {
  // Half a second into 12:34:20 the target 12:40:02 is 342 whole seconds of
  // the clock away: 05:41, whatever the milliseconds.
  h.window.SetClock(At(kToday, 12, 34, 10));
  ComputeNextDrawTime(h.ctx);
  for (int millisecond : {0, 500, 990}) {
    h.window.SetClock(At(kToday, 12, 34, 20) + milliseconds(millisecond));
    h.window.Tick("时钟_倒计时");
    EXPECT_CONTROL_TEXT(h.window, "标签_倒计时", "05:41") << millisecond << " ms";
  }

  // Ticking half a second into each second up to the night draw at 23:10:00,
  // every caption is one second below the last, and "00:00" shows once.
  h.window.SetClock(At(kToday, 23, 9, 50) + milliseconds(500));
  ComputeNextDrawTime(h.ctx);
  ASSERT_EQ(h.states.draws.nextDrawTime, At(kToday, 23, 10, 0));
  std::vector<std::string> captions;
  for (int second = 50; second <= 59; ++second) {
    h.window.SetClock(At(kToday, 23, 9, second) + milliseconds(500));
    h.window.Tick("时钟_倒计时");
    captions.push_back(h.window.Text("标签_倒计时"));
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"00:09", "00:08", "00:07", "00:06", "00:05",
                                                "00:04", "00:03", "00:02", "00:01", "00:00"}));
}

}  // namespace
}  // namespace draws
