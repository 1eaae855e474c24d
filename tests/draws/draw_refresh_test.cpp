#include "draws/draw_refresh.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "draws/auto_update.h"
#include "draws/history_worker.h"
#include "draws_harness.h"
#include "lanzhou_test.h"
#include "mirror_server.h"

namespace draws {
namespace {

using namespace draws_test;

constexpr year_month_day kToday = 2014y / January / 5d;
constexpr const char* kYesterdaySpan = "2014-01-04_2014-01-04";
constexpr const char* kTodaySpan = "2014-01-05_2014-01-05";

std::string Code(int sequence) {
  char text[8];
  std::snprintf(text, sizeof text, "%05d", sequence * 7 % 100000);
  return text;
}

std::string DayPage(int last) {
  std::string page = "<html><table>";
  for (int sequence = 1; sequence <= last; ++sequence) page += DayRow(sequence, Code(sequence));
  return page + "</table></html>";
}

class RefreshDrawsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.Install(server.server());
    server.Start();
    h.UseServer(server);
  }
  LocalServer server;
  FakeSources fake;
  Harness h;
};

TEST_F(RefreshDrawsTest, TwoFullDaysGiveTheNewest180Rows) {
  fake.SetDayPage(kYesterdaySpan, DayPage(120));
  fake.SetDayPage(kTodaySpan, DayPage(120));
  fake.SetFeed(1, {FirstFeedBody("140105120", Code(120))});  // row 0's own draw
  fake.SetFeed(2, {SecondFeedBody("20140105120", "0,0,8,4,0")});
  h.window.SetClock(At(kToday, 23, 58, 0));

  RefreshDraws(h.ctx);

  ASSERT_EQ(h.Rows(), 180);
  EXPECT_EQ(h.Issue(0), "20140105-120");
  EXPECT_EQ(h.Code(0), Code(120));
  EXPECT_EQ(h.Issue(119), "20140105-001");
  EXPECT_EQ(h.Issue(120), "20140104-120");
  EXPECT_EQ(h.Issue(179), "20140104-061");
  EXPECT_EQ(fake.FeedRequests(1), 1);
  EXPECT_EQ(fake.FeedRequests(2), 1);
}

TEST_F(RefreshDrawsTest, FillsShowsAndRestartsEverything) {
  fake.SetDayPage(kYesterdaySpan, DayPage(120));
  fake.SetDayPage(kTodaySpan, DayPage(50));
  // the first feed already has the next draw; the second then brings nothing
  fake.SetFeed(1, {FirstFeedBody("140105051", "9,0,8,1,7")});
  fake.SetFeed(2, {SecondFeedBody("20140105051", "9,0,8,1,7")});
  h.window.SetClock(At(kToday, 14, 34, 10));

  RefreshDraws(h.ctx);

  ASSERT_EQ(h.Rows(), 171);
  EXPECT_EQ(h.Issue(0), "20140105-051");
  EXPECT_EQ(h.Code(0), "90817");
  EXPECT_EQ(h.Issue(1), "20140105-050");
  EXPECT_EQ(h.Issue(170), "20140104-001");
  EXPECT_CONTROL_TEXT(h.window, "透明标签_显示期号", " 第:20140105-051 期");
  EXPECT_EQ(h.window.PictureOf("图片框1"), ui::Picture{9});
  EXPECT_EQ(h.window.PictureOf("图片框5"), ui::Picture{7});
  for (const char* combo :
       {"组合框_定位起始期1", "组合框_二星起始期1", "组合框_三星起始期1", "组合框_搜起始期"}) {
    EXPECT_EQ(h.window.ItemCount(combo), 171) << combo;
    EXPECT_EQ(h.window.ItemText(combo, 9), "20140105-042") << combo;
    EXPECT_EQ(h.window.CurrentIndex(combo), 9) << combo;
  }
  EXPECT_EQ(h.window.Interval("时钟_自动更新"), 1000);
  EXPECT_EQ(h.window.Interval("时钟_倒计时"), 1000);
  EXPECT_EQ(h.states.draws.nextDrawTime, At(kToday, 14, 40, 2));
  EXPECT_CONTROL_TEXT(h.window, "标签_提示", "当前彩种 [重庆]");
  EXPECT_EQ(h.window.Address("超文本浏览框1"),
            "http://127.0.0.1:" + std::to_string(server.port()) + "/announcement.html");
}

TEST_F(RefreshDrawsTest, WithoutHistoryTheFeedsInsertNothingAndTheTimersStillRun) {
  fake.SetFeed(1, {FirstFeedBody("140105051", "9,0,8,1,7")});
  fake.SetFeed(2, {SecondFeedBody("20140105051", "9,0,8,1,7")});
  h.window.SetClock(At(kToday, 14, 34, 10));
  std::vector<ui::Picture> before{h.window.PictureOf("图片框1"), h.window.PictureOf("图片框5")};

  RefreshDraws(h.ctx);

  EXPECT_EQ(h.Rows(), 0);
  EXPECT_CONTROL_TEXT(h.window, "透明标签_显示期号", " 第: 期");
  EXPECT_EQ(
      (std::vector<ui::Picture>{h.window.PictureOf("图片框1"), h.window.PictureOf("图片框5")}),
      before);
  EXPECT_EQ(h.window.Interval("时钟_自动更新"), 1000);
  EXPECT_CONTROL_TEXT(h.window, "标签_提示", "更新失败，保留原有数据");
}

TEST_F(RefreshDrawsTest, ARefreshThatGetsNoDrawKeepsTheRowsAndSaysItFailed) {
  fake.SetDayPage(kTodaySpan, DayPage(50));
  h.window.SetClock(At(kToday, 14, 34, 10));
  RefreshDraws(h.ctx);
  ASSERT_EQ(h.Rows(), 50);
  ASSERT_CONTROL_TEXT(h.window, "标签_提示", "当前彩种 [重庆]");

  // The source stops answering; the user asks for the draws again.
  LocalServer closed;
  closed.Start();
  const std::string base = "http://127.0.0.1:" + std::to_string(closed.port());
  closed.Stop();
  h.UseSources(base);
  h.window.Click("超级按钮_更新号码");

  ASSERT_EQ(h.Rows(), 50);
  EXPECT_EQ(h.Issue(0), "20140105-050");
  EXPECT_EQ(h.Code(0), Code(50));
  EXPECT_EQ(h.Issue(49), "20140105-001");
  EXPECT_CONTROL_TEXT(h.window, "透明标签_显示期号", " 第:20140105-050 期");
  EXPECT_EQ(h.window.ItemCount("组合框_定位起始期1"), 50);
  EXPECT_CONTROL_TEXT(h.window, "标签_提示", "更新失败，保留原有数据");
  EXPECT_EQ(h.window.Interval("时钟_自动更新"), 1000);
  EXPECT_EQ(h.window.Interval("时钟_倒计时"), 1000);

  // Once the source answers again, a refresh replaces the rows as before.
  fake.SetDayPage(kTodaySpan, DayPage(52));
  h.UseServer(server);
  RefreshDraws(h.ctx);
  EXPECT_EQ(h.Rows(), 52);
  EXPECT_CONTROL_TEXT(h.window, "标签_提示", "当前彩种 [重庆]");
}

TEST_F(RefreshDrawsTest, SilentFeedIsAskedThreeTimes) {
  fake.SetDayPage(kTodaySpan, DayPage(50));
  h.window.SetClock(At(kToday, 14, 34, 10));
  RefreshDraws(h.ctx);
  EXPECT_EQ(h.Rows(), 50);
  EXPECT_EQ(fake.FeedRequests(1), 3);
  EXPECT_EQ(fake.FeedRequests(2), 3);
}

TEST_F(RefreshDrawsTest, NeitherRadioCheckedDownloadsNoHistory) {
  fake.SetDayPage(kTodaySpan, DayPage(50));
  h.window.SetChecked("单选框_数据源1", false);
  h.window.SetChecked("单选框_数据源2", false);
  h.window.SetClock(At(kToday, 14, 34, 10));
  RefreshDraws(h.ctx);
  EXPECT_EQ(h.Rows(), 0);
}

TEST_F(RefreshDrawsTest, InThePauseTheCountdownShowsZeroAndStaysStopped) {
  fake.SetDayPage(kTodaySpan, DayPage(23));
  h.window.SetClock(At(kToday, 5, 0, 0));
  RefreshDraws(h.ctx);
  EXPECT_EQ(h.Rows(), 23);
  EXPECT_CONTROL_TEXT(h.window, "标签_倒计时", "00:00");
  EXPECT_EQ(h.window.Interval("时钟_倒计时"), 0);
  EXPECT_EQ(h.window.Interval("时钟_自动更新"), 1000);
}

TEST_F(RefreshDrawsTest, ClickOnTheUpdateButtonRefreshesAndShowsTheAnnouncement) {
  fake.SetDayPage(kTodaySpan, DayPage(50));
  h.window.SetClock(At(kToday, 14, 34, 10));
  h.window.Click("超级按钮_更新号码");
  EXPECT_EQ(h.Rows(), 50);
  EXPECT_EQ(h.window.Address("超文本浏览框1"),
            "http://127.0.0.1:" + std::to_string(server.port()) + "/announcement.html");
}

TEST_F(RefreshDrawsTest, FetchHistoryHandsTheItemsOverAndClearsTheFlag) {
  fake.SetDayPage(kYesterdaySpan, DayPage(2));
  fake.SetDayPage(kTodaySpan, DayPage(1));
  h.window.SetClock(At(kToday, 0, 7, 0));
  EXPECT_EQ(FetchHistory(h.ctx),
            (std::vector<std::string>{"20140105-001" + Code(1), "20140104-002" + Code(2),
                                      "20140104-001" + Code(1)}));
  EXPECT_FALSE(h.states.draws.history.done);
  EXPECT_TRUE(h.states.draws.history.items.empty());
}

// A worker still busy three minutes into the wait, by the window's clock, is
// left behind: the wait gives up with no items instead of holding the window
// until the worker ends, here an hour later.
TEST(FetchHistoryLimitTest, AWorkerStillBusyAfterThreeMinutesIsLeftBehind) {
  std::atomic<bool> answer{false};
  LocalServer server;
  server.server().Get("/kaijiang/kaijiang",
                      [&answer](const httplib::Request&, httplib::Response& response) {
                        while (!answer) std::this_thread::sleep_for(milliseconds(10));
                        response.set_content(DayPage(3), "text/html");
                      });
  server.Start();
  Harness h;
  h.UseServer(server);
  const ui::LocalTime start = At(kToday, 14, 0, 0);
  h.window.SetClock(start);
  // A minute of the window's clock every tenth of a second.
  h.window.Bind("时钟_倒计时", ui::Event::Tick, [&](int) {
    h.window.SetClock(h.window.Now() + minutes(1));
    h.window.SetInterval("时钟_倒计时", 100);
    if (h.window.Now() >= start + hours(1)) answer = true;
  });
  h.window.SetInterval("时钟_倒计时", 100);

  const std::vector<std::string> items = FetchHistory(h.ctx);
  const ui::LocalTime gaveUp = h.window.Now();
  h.window.SetInterval("时钟_倒计时", 0);
  answer = true;

  EXPECT_EQ(items, std::vector<std::string>{});
  EXPECT_GE(gaveUp, start + minutes(3));
  EXPECT_LT(gaveUp, start + hours(1));
  // The worker goes on alone and ends; only then may its state go.
  for (int i = 0; i < 1000 && !h.states.draws.history.done; ++i)
    std::this_thread::sleep_for(milliseconds(10));
  EXPECT_TRUE(h.states.draws.history.done);
}

TEST(RefreshDrawsOfflineTest, NoNetworkLeavesAnEmptyListAndTheUpdateTimerRunning) {
  LocalServer closed;
  closed.Start();
  std::string base = "http://127.0.0.1:" + std::to_string(closed.port());
  closed.Stop();  // nothing listens there any more
  Harness h;
  h.UseSources(base);
  h.window.SetClock(At(kToday, 14, 34, 10));
  RefreshDraws(h.ctx);
  EXPECT_EQ(h.Rows(), 0);
  EXPECT_EQ(h.window.Interval("时钟_自动更新"), 1000);
  EXPECT_CONTROL_TEXT(h.window, "标签_提示", "更新失败，保留原有数据");
}

// The mirror serves what the parsers read: the list and the feeds agree.
TEST(RefreshDrawsMirrorTest, FillsFromTheLocalMirror) {
  std::atomic<drawd::LocalSeconds> now{drawd::LocalSeconds{local_days(kToday).time_since_epoch()} +
                                       hours(0) + minutes(31)};
  auto source = drawd::MirrorSource::Simulated([&now] { return now.load(); });
  drawd::MirrorServer mirror(source);
  const base::Result<int> port = mirror.Listen(0);
  ASSERT_TRUE(port.ok()) << port.error().message;
  mirror.Start();
  Harness h;
  h.UseSources("http://127.0.0.1:" + std::to_string(port.value()));
  h.window.SetClock(At(kToday, 0, 31, 0));

  RefreshDraws(h.ctx);

  ASSERT_EQ(h.Rows(), 126);
  EXPECT_EQ(h.Issue(0), "20140105-006");
  EXPECT_EQ(h.Code(0), drawd::SimulatedCode(kToday, 6));
  EXPECT_EQ(h.Issue(6), "20140104-120");
  EXPECT_EQ(h.window.PictureOf("图片框1"), ui::Picture{drawd::SimulatedCode(kToday, 6)[0] - '0'});

  // the next draw shows in the feeds first
  now = now.load() + minutes(4);
  h.window.SetClock(At(kToday, 0, 35, 0));
  h.window.Tick("时钟_自动更新");
  EXPECT_EQ(h.Rows(), 127);
  EXPECT_EQ(h.Issue(0), "20140105-007");
  EXPECT_EQ(h.Code(0), drawd::SimulatedCode(kToday, 7));
}

}  // namespace
}  // namespace draws
