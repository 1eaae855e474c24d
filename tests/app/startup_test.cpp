#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/area_states.h"
#include "app/bind_handlers.h"
#include "app/program.h"
#include "archive/draw_store.h"
#include "base/atomic_file.h"
#include "base/codepage.h"
#include "lottery/lottery.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace app {
namespace {

using namespace std::chrono;

// Every web endpoint at a port nobody listens on, so the first refresh fails
// at once even when a draw mirror runs on this machine.
void WriteUnreachableSources(const std::filesystem::path& dir) {
  ASSERT_TRUE(base::WriteFileAtomically(dir / "sources.ini",
                                        "[sources]\r\nhistory=http://127.0.0.1:1\r\n"
                                        "feed1=http://127.0.0.1:1\r\nfeed2=http://127.0.0.1:1\r\n"
                                        "video=http://127.0.0.1:1\r\n"
                                        "announcement=http://127.0.0.1:1/\r\n")
                  .ok());
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteUnreachableSources(dir.path()); }

  TempDir dir;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())};
};

TEST_F(StartupTest, StateBeforeTheWindowExists) {
  EXPECT_EQ(states.search.selectedResultRow, -1);
  EXPECT_FALSE(states.draws.history.done);
  EXPECT_FALSE(states.search.stopRequested);
  EXPECT_FALSE(window.Visible());
}

TEST_F(StartupTest, CreationHandlerShowsPausesOneSecondThenSetsStateAndLoadsSettings) {
  ASSERT_TRUE(base::WriteFileAtomically(dir.path() / "sz.ini",
                                        *base::Utf8ToGbk("[3]\r\n2=9\r\n[2]\r\n7=假\r\n3=真\r\n"))
                  .ok());
  window.SetClock(local_days{2024y / May / 1} + 10h);
  const auto before = window.Now();
  states.search.selectedResultRow = 4;
  RunCreationHandler(ctx);

  EXPECT_TRUE(window.Visible());
  EXPECT_GE(window.Now() - before, milliseconds(1000));
  // then the first refresh: with no mirror running, each feed is asked three
  // times with a 300 ms pause after each retry
  EXPECT_LT(window.Now() - before, milliseconds(1000 + 4 * 300 + 500));
  EXPECT_EQ(states.search.selectedResultRow, -1);
  EXPECT_EQ(window.Text("编辑框_定位码数"), "9");
  EXPECT_TRUE(window.Checked("单选框_万"));
  EXPECT_FALSE(window.Checked("单选框_个"));
}

TEST_F(StartupTest, ClicksDuringTheFirstSecondAreHandledBeforeSettingsLoad) {
  // A timer stands in for user input arriving during the pause: its tick
  // must run inside the creation handler, and the settings loaded after the
  // pause win over what it changed.
  ASSERT_TRUE(
      base::WriteFileAtomically(dir.path() / "sz.ini", *base::Utf8ToGbk("[3]\r\n1=4\r\n")).ok());
  int ticks = 0;
  window.Bind("时钟1", ui::Event::Tick, [&](int) {
    ++ticks;
    window.SetText("编辑框_定位期数", "7");
    window.SetText("编辑框_后二期数", "6");
    window.SetInterval("时钟1", 0);
  });
  window.SetInterval("时钟1", 300);
  RunCreationHandler(ctx);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(window.Text("编辑框_定位期数"), "4");
  // A key missing from the file leaves the box as it is.
  EXPECT_EQ(window.Text("编辑框_后二期数"), "6");
}

TEST_F(StartupTest, WithoutSettingsOrNetworkTheWindowComesUpUsable) {
  RunCreationHandler(ctx);
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.RowCount("列表框_开奖"), 0);
  EXPECT_EQ(window.Interval("时钟_自动更新"), 1000);
  EXPECT_EQ(window.Text("编辑框_定位码数"), "5");
  EXPECT_TRUE(window.Checked("单选框_个"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "sz.ini"));
  // The 群发 page says where its groups come from.
  ASSERT_EQ(window.RowCount("超级列表框_群发"), 1);
  EXPECT_EQ(window.Cell("超级列表框_群发", 0, 1), "列表中没有群");
  EXPECT_NE(window.Text("标签_群发状态").find((dir.path() / "push.ini").string()),
            std::string::npos);
}

TEST_F(StartupTest, PlanPagesShowTheRefreshSettingOnceItIsLoaded) {
  // The form checks the plan pages' 自动更新 boxes and not the one-key ones;
  // they are one setting, the one sz.ini keeps.
  ASSERT_TRUE(
      base::WriteFileAtomically(dir.path() / "sz.ini", *base::Utf8ToGbk("[1]\r\n2=真\r\n")).ok());
  RunCreationHandler(ctx);
  EXPECT_FALSE(window.Checked("选择框_定位自动更新"));
  EXPECT_TRUE(window.Checked("选择框_二星自动更新"));
  EXPECT_TRUE(window.Checked("选择框_后二更新"));
  EXPECT_FALSE(window.Checked("选择框_三星自动更新"));
}

TEST(LoadProgressCaption, PrefixDigitsAndPercentSign) {
  EXPECT_EQ(LoadProgressCaption(0), "已经加载：0%");
  EXPECT_EQ(LoadProgressCaption(100), "已经加载：100%");
  EXPECT_EQ(LoadProgressCaption(42), "已经加载：42%");
}

TEST(LoadProgressCaption, APercentOutsideZeroToHundredIsHeldToIt) {
  EXPECT_EQ(LoadProgressCaption(-2147483647), "已经加载：0%");
  EXPECT_EQ(LoadProgressCaption(-1), "已经加载：0%");
  EXPECT_EQ(LoadProgressCaption(101), "已经加载：100%");
  EXPECT_EQ(LoadProgressCaption(2147483647), "已经加载：100%");
}

TEST_F(StartupTest, LoadProgressEventWritesTheLabel) {
  BindHandlers(ctx);
  EXPECT_EQ(window.Text("标签_开奖载入提示"), "");
  window.Fire("超文本浏览框_开奖", ui::Event::Progress, 100);
  EXPECT_EQ(window.Text("标签_开奖载入提示"), "已经加载：100%");
  window.Fire("超文本浏览框_开奖", ui::Event::Progress, 0);
  EXPECT_EQ(window.Text("标签_开奖载入提示"), "已经加载：0%");
  window.Fire("超文本浏览框_开奖", ui::Event::Progress, -2147483647);
  EXPECT_EQ(window.Text("标签_开奖载入提示"), "已经加载：0%");
}

TEST_F(StartupTest, BindHandlersWiresTheSaveButton) {
  BindHandlers(ctx);
  window.Click("超级按钮_保存设置");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "sz.ini"));
}

TEST(Program, StartWithoutCreationHandlerKeepsFormValuesButBindsHandlers) {
  TempDir dir;
  ASSERT_TRUE(
      base::WriteFileAtomically(dir.path() / "sz.ini", *base::Utf8ToGbk("[3]\r\n2=9\r\n")).ok());
  ui::MemoryWindow window;
  Program program(dir.path(), dir.path());
  program.Start(window, false);
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.Text("编辑框_定位码数"), "5");
  ASSERT_NE(program.context(), nullptr);
  EXPECT_EQ(program.context()->dataDir, dir.path());
  window.Fire("超文本浏览框_开奖", ui::Event::Progress, 7);
  EXPECT_EQ(window.Text("标签_开奖载入提示"), "已经加载：7%");
}

TEST(Program, StartWithoutCreationHandlerShowsWhatTheArchiveHolds) {
  TempDir dir;
  {
    const local_seconds stored = local_days{2024y / January / 2d} + 9h;
    auto opened = archive::DrawStore::Open(dir.path() / archive::kArchiveFileName,
                                           lottery::Chongqing(), stored);
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    const std::vector<lottery::Draw> draws{
        {"20240101-119", "12345"}, {"20240101-120", "67890"}, {"20240102-001", "13579"}};
    ASSERT_TRUE(opened.value().store.Store(draws, "test", stored).ok());
  }
  ui::MemoryWindow window;
  Program program(dir.path(), dir.path());
  program.Start(window, false);
  EXPECT_EQ(window.Text("标签_号码库"), "号码库：3 期，20240101-119 至 20240102-001");
}

TEST(Program, StartWithoutCreationHandlerOrArchiveMakesNone) {
  TempDir dir;
  ui::MemoryWindow window;
  Program program(dir.path(), dir.path());
  program.Start(window, false);
  EXPECT_EQ(window.Text("标签_号码库"), "号码库：空");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / archive::kArchiveFileName));
}

TEST(Program, StartRemovesTheTemporariesOfKilledSaves) {
  TempDir dir;
  pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const auto killed = dir.path() / ("sz.ini.tmp" + std::to_string(gone) + "-77");
  const auto running = dir.path() / ("gs.ini.tmp" + std::to_string(::getpid()) + "-78");
  for (const auto& file : {killed, running}) std::ofstream(file) << "[1]\r\n1=";
  ui::MemoryWindow window;
  Program program(dir.path(), dir.path());
  program.Start(window, false);
  EXPECT_FALSE(std::filesystem::exists(killed));
  EXPECT_TRUE(std::filesystem::exists(running));
}

TEST(Program, StartRunsTheCreationHandler) {
  TempDir dir;
  WriteUnreachableSources(dir.path());
  ASSERT_TRUE(
      base::WriteFileAtomically(dir.path() / "sz.ini", *base::Utf8ToGbk("[3]\r\n2=9\r\n")).ok());
  ui::MemoryWindow window;
  Program program(dir.path(), dir.path());
  program.Start(window);
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.Text("编辑框_定位码数"), "9");
}

}  // namespace
}  // namespace app
