#include "ui/memory_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "lanzhou_test.h"

namespace {

using namespace std::chrono_literals;
using ui::ControlDefinition;
using ui::ControlKind;
using ui::Event;
using ui::LocalTime;
using ui::MemoryWindow;

// 2024-03-01 12:00:00 local, on a whole second.
LocalTime Noon() {
  using namespace std::chrono;
  return local_days{year{2024} / March / 1} + hours(12);
}

TEST(MemoryWindowTest, StartsWithTheFormValues) {
  MemoryWindow window;
  EXPECT_FALSE(window.Visible());
  EXPECT_FALSE(window.ClipboardText().has_value());
  EXPECT_TRUE(window.Messages().empty());
  for (const ControlDefinition& entry : ui::MainForm()) {
    SCOPED_TRACE(entry.name);
    ASSERT_TRUE(window.HasControl(entry.name));
    EXPECT_EQ(window.KindOf(entry.name), entry.kind);
    switch (entry.kind) {
      case ControlKind::Label:
      case ControlKind::TransparentLabel:
      case ControlKind::EditBox:
      case ControlKind::Button:
      case ControlKind::ImageButton:
      case ControlKind::GroupBox:
        EXPECT_EQ(window.Text(entry.name), entry.text);
        break;
      case ControlKind::CheckBox:
      case ControlKind::RadioBox:
        EXPECT_EQ(window.Text(entry.name), entry.text);
        EXPECT_EQ(window.Checked(entry.name), entry.checked);
        break;
      case ControlKind::ComboBox:
        EXPECT_EQ(lanzhou_test::ItemTexts(window, entry.name), entry.items);
        EXPECT_EQ(window.CurrentIndex(entry.name), entry.selectedItem);
        break;
      case ControlKind::TabControl:
        EXPECT_CONTROL_PAGE(window, entry.name, 0);
        break;
      case ControlKind::ListView:
      case ControlKind::TrendChart:
        EXPECT_ROW_COUNT(window, entry.name, 0);
        EXPECT_EQ(window.CurrentRow(entry.name), -1);
        break;
      case ControlKind::ProgressBar:
        EXPECT_EQ(window.Text(entry.name), "0%");
        break;
      case ControlKind::PictureBox:
        EXPECT_EQ(window.PictureOf(entry.name), ui::Picture{});
        break;
      case ControlKind::HtmlViewer:
        EXPECT_EQ(window.Address(entry.name), "");
        break;
      case ControlKind::Timer:
        EXPECT_CONTROL_INTERVAL(window, entry.name, 0);
        break;
      case ControlKind::Window:
      case ControlKind::Panel:
        break;
    }
    if (entry.kind == ControlKind::ImageButton) {
      EXPECT_EQ(window.Selected(entry.name), entry.initiallySelected);
    }
    if (entry.kind != ControlKind::Timer) {
      EXPECT_CONTROL_ENABLED(window, entry.name);
    }
  }
}

TEST(MemoryWindowTest, FirstPagesAndFirstValuesAtStart) {
  MemoryWindow window;
  EXPECT_CONTROL_PAGE(window, "高级选择夹_总", 0);
  EXPECT_CONTROL_PAGE(window, "高级选择夹_那星", 0);
  EXPECT_CONTROL_PAGE(window, "高级选择夹_计划总", 0);
  EXPECT_CONTROL_TEXT(window, "标签1", "开奖倒计时:");
  EXPECT_CONTROL_TEXT(window, "组合框_二星选1", "后二胆码");
  EXPECT_CONTROL_TEXT(window, "组合框_定位起始期1", "");
  EXPECT_CONTROL_INDEX(window, "组合框_搜起始期", -1);
  EXPECT_CONTROL_TEXT(window, "编辑框_提示语", "彩世有风险，投资需谨慎。");
  EXPECT_CONTROL_SELECTED(window, "超级按钮_后一");
  EXPECT_CONTROL_NOT_SELECTED(window, "超级按钮_后二");
}

TEST(MemoryWindowTest, UnknownNamesAndWrongKindsThrow) {
  MemoryWindow window;
  try {
    window.Text("标签_没有");
    FAIL() << "no exception";
  } catch (const std::out_of_range& error) {
    EXPECT_NE(std::string(error.what()).find("标签_没有"), std::string::npos);
  }
  EXPECT_FALSE(window.HasControl("标签_没有"));
  EXPECT_THROW(window.KindOf("x"), std::out_of_range);
  EXPECT_THROW(window.Click("x"), std::out_of_range);
  EXPECT_THROW(window.Bind("x", Event::Click, [](int) {}), std::out_of_range);
  EXPECT_THROW(window.SetInterval("x", 1000), std::out_of_range);

  EXPECT_THROW(window.Checked("标签1"), std::invalid_argument);
  EXPECT_THROW(window.CurrentIndex("编辑框_提示语"), std::invalid_argument);
  EXPECT_THROW(window.Type("标签1", "1"), std::invalid_argument);
  EXPECT_THROW(window.AppendText("标签1", "x"), std::invalid_argument);
  EXPECT_THROW(window.SetText("组合框_定位选1", "x"), std::invalid_argument);
  EXPECT_THROW(window.InsertRow("组合框_定位选1", -1), std::invalid_argument);
  EXPECT_THROW(window.SetInterval("按钮_定位开始", 1000), std::invalid_argument);
  EXPECT_THROW(window.Tick("按钮_定位开始"), std::invalid_argument);
  EXPECT_THROW(window.Selected("按钮_定位开始"), std::invalid_argument);
  EXPECT_THROW(window.SetEnabled("时钟1", false), std::invalid_argument);
  EXPECT_THROW(window.SetCurrentPage("高级选择夹_那星", 3), std::out_of_range);
  EXPECT_THROW(window.SetPicture("图片框1", ui::Picture{10}), std::invalid_argument);
}

struct RadioCase {
  const char* clicked;
  std::vector<const char*> unchecked;  // its group mates, checked before
  std::vector<const char*> untouched;  // checked radios of other groups
};

TEST(MemoryWindowTest, RadioBoxesExcludeEachOtherWithinTheirContainerOnly) {
  const std::vector<RadioCase> cases{
      {"单选框_万", {"单选框_个"}, {"单选框_数据源1", "单选框_后二复试", "单选框_后三组选"}},
      {"单选框_数据源2", {"单选框_数据源1"}, {"单选框_个", "单选框_搜定位"}},
      {"单选框_后二直选复试", {"单选框_后二复试"}, {"单选框_后三组选", "单选框_个"}},
      {"单选框_后三直选复试", {"单选框_后三组选"}, {"单选框_后二复试", "单选框_个"}},
      {"单选框_搜二星", {"单选框_搜定位"}, {"单选框_个", "单选框_数据源1"}},
  };
  for (const RadioCase& c : cases) {
    SCOPED_TRACE(c.clicked);
    for (bool byUser : {true, false}) {
      MemoryWindow window;
      for (const char* name : c.unchecked) EXPECT_CONTROL_CHECKED(window, name);
      if (byUser) {
        window.Click(c.clicked);
      } else {
        window.SetChecked(c.clicked, true);
      }
      EXPECT_CONTROL_CHECKED(window, c.clicked);
      for (const char* name : c.unchecked) EXPECT_CONTROL_UNCHECKED(window, name);
      for (const char* name : c.untouched) EXPECT_CONTROL_CHECKED(window, name);
    }
  }
}

TEST(MemoryWindowTest, UncheckingARadioLeavesTheOthersAlone) {
  MemoryWindow window;
  window.SetChecked("单选框_个", false);
  EXPECT_CONTROL_UNCHECKED(window, "单选框_个");
  EXPECT_CONTROL_UNCHECKED(window, "单选框_十");
  window.SetChecked("单选框_千", true);
  window.Click("单选框_千");  // clicking a checked radio keeps it checked
  EXPECT_CONTROL_CHECKED(window, "单选框_千");
}

TEST(MemoryWindowTest, ClickChangesStateBeforeTheHandlerRuns) {
  struct ClickCase {
    const char* name;
    bool (MemoryWindow::*state)(const std::string&) const;
    bool seenByHandler;
  };
  const std::vector<ClickCase> cases{
      {"超级按钮_后一2", &MemoryWindow::Selected, true},
      {"超级按钮_后一1", &MemoryWindow::Selected, false},
      {"超级按钮_后三", &MemoryWindow::Selected, true},
      {"超级按钮_更新号码", &MemoryWindow::Selected, false},  // not a toggle
      {"选择框_集合定位", &MemoryWindow::Checked, false},
      {"选择框_定位更新", &MemoryWindow::Checked, true},
      {"单选框_搜三星", &MemoryWindow::Checked, true},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryWindow window;
    int calls = 0;
    bool seen = !c.seenByHandler;
    window.Bind(c.name, Event::Click, [&](int) {
      ++calls;
      seen = (window.*c.state)(c.name);
    });
    window.Click(c.name);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, c.seenByHandler);
    EXPECT_EQ((window.*c.state)(c.name), c.seenByHandler);
  }
}

TEST(MemoryWindowTest, SecondClickTogglesBack) {
  MemoryWindow window;
  window.Click("超级按钮_后二5");
  window.Click("超级按钮_后二5");
  EXPECT_CONTROL_NOT_SELECTED(window, "超级按钮_后二5");
  window.SetSelected("超级按钮_后二5", true);
  EXPECT_CONTROL_SELECTED(window, "超级按钮_后二5");
}

TEST(MemoryWindowTest, DisabledControlIgnoresClicks) {
  MemoryWindow window;
  int calls = 0;
  window.Bind("超级按钮_后一3", Event::Click, [&](int) { ++calls; });
  window.SetEnabled("超级按钮_后一3", false);
  EXPECT_CONTROL_DISABLED(window, "超级按钮_后一3");
  window.Click("超级按钮_后一3");
  EXPECT_EQ(calls, 0);
  EXPECT_CONTROL_NOT_SELECTED(window, "超级按钮_后一3");
  window.SetEnabled("超级按钮_后一3", true);
  window.Click("超级按钮_后一3");
  EXPECT_EQ(calls, 1);
}

TEST(MemoryWindowTest, ALetterIsRefusedInEveryNumberBoxOfTheOneKeyPanel) {
  for (const char* name : {"编辑框_后三期数", "编辑框_后三码数", "编辑框_后二期数",
                           "编辑框_后二码数", "编辑框_定位码数", "编辑框_定位期数"}) {
    SCOPED_TRACE(name);
    MemoryWindow window;
    window.SetText(name, "");
    EXPECT_FALSE(window.Type(name, "a"));
    EXPECT_FALSE(window.Type(name, "七"));
    EXPECT_CONTROL_TEXT(window, name, "");
    EXPECT_TRUE(window.Type(name, "7"));
    EXPECT_CONTROL_TEXT(window, name, "7");
  }
}

TEST(MemoryWindowTest, SecondCharacterIsRefusedInPeriodBox) {
  MemoryWindow window;
  EXPECT_FALSE(window.Type("编辑框_定位期数", "5"));  // already holds "3"
  EXPECT_CONTROL_TEXT(window, "编辑框_定位期数", "3");
  window.SetText("编辑框_定位期数", "");
  EXPECT_FALSE(window.Type("编辑框_定位期数", "45"));
  EXPECT_CONTROL_TEXT(window, "编辑框_定位期数", "4");
}

TEST(MemoryWindowTest, TypingFollowsEachBoxsRules) {
  MemoryWindow window;
  EXPECT_FALSE(window.Type("编辑框_发送间阁", "3x4"));  // digits only, no length limit
  EXPECT_CONTROL_TEXT(window, "编辑框_发送间阁", "234");
  EXPECT_TRUE(window.Type("编辑框_定位名", "冷热 A1"));
  EXPECT_CONTROL_TEXT(window, "编辑框_定位名", "冷热 A1");
  window.SetText("编辑框_后二结果", "第一行");
  window.AppendText("编辑框_后二结果", "\r\n第二行");
  EXPECT_CONTROL_TEXT(window, "编辑框_后二结果", "第一行\r\n第二行");
  window.SetEnabled("编辑框_定位名", false);
  EXPECT_FALSE(window.Type("编辑框_定位名", "x"));
  EXPECT_CONTROL_TEXT(window, "编辑框_定位名", "冷热 A1");
}

TEST(MemoryWindowTest, ComboItemsAndSelection) {
  MemoryWindow window;
  window.ClearItems("组合框_定位码1");
  EXPECT_CONTROL_INDEX(window, "组合框_定位码1", -1);
  EXPECT_EQ(window.ItemCount("组合框_定位码1"), 0);
  window.AddItem("组合框_搜起始期", "20240301-001");
  window.AddItem("组合框_搜起始期", "20240301-002");
  EXPECT_CONTROL_INDEX(window, "组合框_搜起始期", -1);
  window.SetCurrentIndex("组合框_搜起始期", 1);
  EXPECT_CONTROL_TEXT(window, "组合框_搜起始期", "20240301-002");
  window.SetCurrentIndex("组合框_搜起始期", 2);  // past the items: nothing selected
  EXPECT_CONTROL_INDEX(window, "组合框_搜起始期", -1);
  EXPECT_EQ(window.ItemText("组合框_搜起始期", 5), "");
}

TEST(MemoryWindowTest, ListViewRowsAndCells) {
  MemoryWindow window;
  const std::string list = "列表框_开奖";
  EXPECT_EQ(window.InsertRow(list, -1), 0);
  window.SetCell(list, 0, 0, "20240301-002");
  window.SetCell(list, 0, 1, "12345");
  window.SetCurrentRow(list, 0);
  EXPECT_EQ(window.InsertRow(list, 0), 0);  // a newer draw goes on top
  window.SetCell(list, 0, 0, "20240301-003");
  EXPECT_EQ(window.InsertRow(list, 99), 2);
  EXPECT_EQ(lanzhou_test::ColumnTexts(window, list, 0),
            (std::vector<std::string>{"20240301-003", "20240301-002", ""}));
  EXPECT_CELL_TEXT(window, list, 1, 1, "12345");
  EXPECT_EQ(window.CurrentRow(list), 1) << "the current row follows its row";
  EXPECT_CELL_TEXT(window, list, 0, 1, "");
  EXPECT_CELL_TEXT(window, list, 7, 0, "");
  EXPECT_CELL_TEXT(window, list, 0, -1, "");
  window.SetCell(list, 9, 0, "lost");  // no such row: nothing happens
  EXPECT_ROW_COUNT(window, list, 3);
  window.DeleteAllRows(list);
  EXPECT_ROW_COUNT(window, list, 0);
  EXPECT_EQ(window.CurrentRow(list), -1);
}

TEST(MemoryWindowTest, RecordsPicturesAddressesMessagesAndClipboard) {
  MemoryWindow window;
  window.SetPicture("图片框3", ui::Picture{7});
  EXPECT_EQ(window.PictureOf("图片框3").digit, 7);
  window.Navigate("超文本浏览框_开奖", "http://127.0.0.1/video");
  EXPECT_EQ(window.Address("超文本浏览框_开奖"), "http://127.0.0.1/video");
  window.MessageBox("", "复制成功");
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].text, "复制成功");
  window.SetClipboardText("");
  EXPECT_EQ(window.ClipboardText(), std::optional<std::string>(""));
  window.SetVisible(true);
  EXPECT_TRUE(window.Visible());
  window.SetCurrentPage("高级选择夹_计划总", 5);
  EXPECT_CONTROL_PAGE(window, "高级选择夹_计划总", 5);
}

TEST(MemoryWindowTest, FireAndRebindRunTheCurrentHandler) {
  MemoryWindow window;
  std::vector<int> progress;
  window.Bind("超文本浏览框_开奖", Event::Progress,
              [&](int percent) { progress.push_back(percent); });
  window.Fire("超文本浏览框_开奖", Event::Progress, 40);
  window.Fire("超文本浏览框_开奖", Event::RowClick, 1);  // nothing bound
  EXPECT_EQ(progress, std::vector<int>{40});

  int first = 0;
  int second = 0;
  window.Bind("按钮_搜开始", Event::Click, [&](int) {
    ++first;
    window.Bind("按钮_搜开始", Event::Click, [&](int) { ++second; });
  });
  window.Click("按钮_搜开始");
  window.Click("按钮_搜开始");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

TEST(MemoryWindowTest, ClockRunsFromWhereItWasSet) {
  MemoryWindow window;
  window.SetClock(Noon());
  LocalTime now = window.Now();
  EXPECT_GE(now, Noon());
  EXPECT_LT(now, Noon() + 60s);
  window.Pause(5000ms);
  EXPECT_GE(window.Now(), Noon() + 5s);
  window.AdvanceClock(60s);
  EXPECT_GE(window.Now(), Noon() + 65s);
  EXPECT_LT(window.Now(), Noon() + 125s);
}

TEST(MemoryWindowTest, DefaultClockIsTheRealLocalTime) {
  using namespace std::chrono;
  MemoryWindow window;
  std::time_t seconds = std::time(nullptr);
  std::tm tm{};
  localtime_r(&seconds, &tm);
  LocalTime local = local_days{year{tm.tm_year + 1900} / (tm.tm_mon + 1) / tm.tm_mday} +
                    hours(tm.tm_hour) + minutes(tm.tm_min) + std::chrono::seconds(tm.tm_sec);
  EXPECT_LT(abs(window.Now() - local), 5s);
}

TEST(MemoryWindowTest, TimersTickInOrderWhilePausing) {
  MemoryWindow window;
  window.SetClock(Noon());
  // Each tick records the clock it saw, in tenths of a second since noon.
  std::vector<std::pair<std::string, long long>> ticks;
  for (const char* timer : {"时钟_自动更新", "时钟_倒计时"}) {
    window.Bind(timer, Event::Tick, [&, timer](int) {
      using Tenths = std::chrono::duration<long long, std::deci>;
      ticks.emplace_back(timer, std::chrono::floor<Tenths>(window.Now() - Noon()).count());
    });
  }
  window.SetInterval("时钟_倒计时", 1500);
  window.SetInterval("时钟_自动更新", 1000);
  window.Pause(3200ms);
  const std::vector<std::pair<std::string, long long>> expected{{"时钟_自动更新", 10},
                                                                {"时钟_倒计时", 15},
                                                                {"时钟_自动更新", 20},
                                                                {"时钟_自动更新", 30},
                                                                {"时钟_倒计时", 30}};
  EXPECT_EQ(ticks, expected);
  EXPECT_GE(window.Now(), Noon() + 3200ms);
}

TEST(MemoryWindowTest, StoppedTimersDoNotTickButCanBeTickedByHand) {
  MemoryWindow window;
  window.SetClock(Noon());
  int ticks = 0;
  window.Bind("时钟_倒计时", Event::Tick, [&](int) {
    ++ticks;
    window.SetInterval("时钟_倒计时", 0);  // a handler may stop its own timer
  });
  window.AdvanceClock(10s);
  EXPECT_EQ(ticks, 0);
  window.Tick("时钟_倒计时");
  EXPECT_EQ(ticks, 1);
  window.SetInterval("时钟_倒计时", 1000);
  window.ProcessEvents();  // not due yet
  EXPECT_EQ(ticks, 1);
  window.AdvanceClock(5s);
  EXPECT_EQ(ticks, 2);
  EXPECT_CONTROL_INTERVAL(window, "时钟_倒计时", 0);
}

TEST(MemoryWindowTest, ATickThatPausesIsNotReenteredAndOthersTickMeanwhile) {
  MemoryWindow window;
  window.SetClock(Noon());
  int depth = 0;
  int maxDepth = 0;
  int slowTicks = 0;
  int fastTicks = 0;
  window.Bind("时钟_自动更新", Event::Tick, [&](int) {
    ++slowTicks;
    maxDepth = std::max(maxDepth, ++depth);
    window.Pause(5000ms);  // as the automatic update's polling does
    --depth;
  });
  window.Bind("时钟_倒计时", Event::Tick, [&](int) { ++fastTicks; });
  window.SetInterval("时钟_自动更新", 1000);
  window.SetInterval("时钟_倒计时", 1000);
  window.AdvanceClock(3000ms);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_GE(fastTicks, 5);
  // One slow tick at 1 s pauses to 6 s; the ticks missed meanwhile merge into
  // one, so the slow timer cannot have ticked more than once more.
  EXPECT_GE(slowTicks, 1);
  EXPECT_LE(slowTicks, 2);
}

TEST(MemoryWindowTest, WaitUntilReturnsWhenAnotherThreadWakesIt) {
  MemoryWindow window;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    std::this_thread::sleep_for(50ms);
    done = true;
    window.Wake();
  });
  bool result = window.WaitUntil([&] { return done.load(); }, 60s);
  worker.join();
  EXPECT_TRUE(result);
}

TEST(MemoryWindowTest, WaitUntilGivesUpAtItsLimit) {
  MemoryWindow window;
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(window.WaitUntil([] { return false; }, 100ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
}

TEST(MemoryWindowTest, WaitUntilRunsTimersByTheClock) {
  MemoryWindow window;
  int ticks = 0;
  window.Bind("时钟_倒计时", Event::Tick, [&](int) { ++ticks; });
  window.SetInterval("时钟_倒计时", 20);
  EXPECT_TRUE(window.WaitUntil([&] { return ticks >= 3; }, 60s));
}

TEST(MemoryWindowTest, RowCheckBoxesFollowTheirRowsAndAUserFlipRunsTheHandler) {
  MemoryWindow window;
  const std::string list = "超级列表框_群发";
  std::vector<int> flipped;
  window.Bind(list, Event::RowCheck, [&](int row) { flipped.push_back(row); });
  window.InsertRow(list, -1);
  window.InsertRow(list, -1);
  EXPECT_FALSE(window.RowChecked(list, 0));
  window.SetRowChecked(list, 1, true);  // the program's setting runs no handler
  window.CheckRow(list, 0, true);
  EXPECT_TRUE(window.RowChecked(list, 0));
  EXPECT_TRUE(window.RowChecked(list, 1));
  EXPECT_EQ(flipped, std::vector<int>{0});
  window.CheckRow(list, 7, true);  // no such row: nothing happens
  EXPECT_FALSE(window.RowChecked(list, 7));
  EXPECT_EQ(flipped, std::vector<int>{0});
  // A list without row check boxes refuses them.
  EXPECT_THROW(window.RowChecked("超级列表框_搜索", 0), std::invalid_argument);
}

TEST(MemoryWindowTest, ChartRowsCarryCellsAndOneMarkEach) {
  MemoryWindow window;
  const std::string chart = "走势图_号码";
  const int row = window.InsertRow(chart, -1);
  window.SetCell(chart, row, 1, "13579");
  window.SetRowMark(chart, row, 11);
  EXPECT_EQ(window.Cell(chart, row, 1), "13579");
  EXPECT_EQ(window.RowMark(chart, row), 11);
  window.SetRowMark(chart, row, -5);
  EXPECT_EQ(window.RowMark(chart, row), -1);
  EXPECT_EQ(window.RowMark(chart, 3), -1);
  EXPECT_THROW(window.RowMark("列表框_开奖", 0), std::invalid_argument);
}

TEST(MemoryWindowTest, ProgressIsHeldBetweenZeroAndHundredAndReadsAsPercent) {
  MemoryWindow window;
  const struct {
    int set;
    int held;
  } cases[] = {{0, 0}, {42, 42}, {100, 100}, {101, 100}, {-2147483647, 0}};
  for (const auto& c : cases) {
    window.SetProgress("进度条_回测", c.set);
    EXPECT_EQ(window.Progress("进度条_回测"), c.held) << c.set;
    EXPECT_EQ(window.Text("进度条_回测"), std::to_string(c.held) + "%");
  }
  EXPECT_THROW(window.SetText("进度条_回测", "5%"), std::invalid_argument);
}

TEST(MemoryWindowTest, BrowserCookieClearingsAndFileDialogsAreRecorded) {
  MemoryWindow window;
  window.ClearBrowserCookies("超文本浏览框_开奖", "video.example");
  EXPECT_EQ(window.CookieClearings(),
            (std::vector<MemoryWindow::CookieClearing>{{"超文本浏览框_开奖", "video.example"}}));
  EXPECT_THROW(window.ClearBrowserCookies("标签1", "x"), std::invalid_argument);

  EXPECT_EQ(window.AskFilePath("号码文件"), std::nullopt);
  window.SetNextFilePath("/tmp/draws.csv");
  EXPECT_EQ(window.AskFilePath("号码文件"), "/tmp/draws.csv");
  EXPECT_EQ(window.AskFilePath("号码文件"), std::nullopt);  // the answer is used once
  EXPECT_FALSE(window.Grab("/tmp/window.png").ok());
}

}  // namespace
