#include "gui/qt_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <thread>

#include "gui/html_viewer.h"
#include "gui/skin_button.h"
#include "gui/tab_control.h"
#include "gui/trend_chart_view.h"
#include "ui/control_rules.h"
#include "ui/form.h"
#include "ui/memory_window.h"

namespace gui {
namespace {

using ui::ControlKind;
using namespace std::chrono_literals;

class QtWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 0);
      setenv("LANZHOU_NO_WEBENGINE", "1", 1);
      setenv("LANZHOU_MESSAGEBOX_LOG", "1", 1);
      static int argc = 1;
      static char name[] = "qt_window_test";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
  }

  void SetUp() override {
    window.SetVisible(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.Widget()));
  }

  template <typename T = QWidget>
  T* Get(const std::string& name) {
    T* widget = window.Widget()->findChild<T*>(QString::fromStdString(name));
    if (widget == nullptr) {
      throw std::runtime_error("no widget " + name);
    }
    return widget;
  }

  QtWindow window;
};

bool HasExpectedClass(const ui::ControlDefinition& definition, QObject* object) {
  switch (definition.kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
    case ControlKind::PictureBox:
      return qobject_cast<QLabel*>(object) != nullptr;
    case ControlKind::EditBox:
      return definition.multiLine ? qobject_cast<QPlainTextEdit*>(object) != nullptr
                                  : qobject_cast<QLineEdit*>(object) != nullptr;
    case ControlKind::ComboBox:
      return qobject_cast<QComboBox*>(object) != nullptr;
    case ControlKind::CheckBox:
      return qobject_cast<QCheckBox*>(object) != nullptr;
    case ControlKind::RadioBox:
      return qobject_cast<QRadioButton*>(object) != nullptr;
    case ControlKind::Button:
      return qobject_cast<QPushButton*>(object) != nullptr;
    case ControlKind::ImageButton:
      return qobject_cast<SkinButton*>(object) != nullptr;
    case ControlKind::ListView:
      return qobject_cast<QTreeWidget*>(object) != nullptr;
    case ControlKind::HtmlViewer:
      return qobject_cast<HtmlViewer*>(object) != nullptr;
    case ControlKind::Timer:
      return qobject_cast<QTimer*>(object) != nullptr;
    case ControlKind::GroupBox:
      return qobject_cast<QGroupBox*>(object) != nullptr;
    case ControlKind::Panel:
      return qobject_cast<QFrame*>(object) != nullptr;
    case ControlKind::TabControl:
      return qobject_cast<QTabWidget*>(object) != nullptr;
    case ControlKind::ProgressBar:
      return qobject_cast<QProgressBar*>(object) != nullptr;
    case ControlKind::TrendChart:
      return qobject_cast<TrendChartView*>(object) != nullptr;
    case ControlKind::Window:
      break;
  }
  return false;
}

TEST_F(QtWindowTest, TheWindowHasItsCaptionSizeAndPlace) {
  const QWidget* top = window.Widget();
  EXPECT_EQ(top->windowTitle().toStdString(), "岚舟时时彩智能计划软件");
  EXPECT_EQ(top->size(), QSize(912, 603));
  EXPECT_EQ(top->pos(), QPoint(50, 50));
}

TEST_F(QtWindowTest, EveryControlExistsWithItsKindParentAndGeometry) {
  for (const ui::ControlDefinition& definition : ui::MainForm()) {
    SCOPED_TRACE(definition.name);
    QObject* object = window.Widget()->findChild<QObject*>(QString::fromStdString(definition.name));
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(HasExpectedClass(definition, object)) << object->metaObject()->className();
    if (definition.kind == ControlKind::Timer) {
      EXPECT_FALSE(static_cast<QTimer*>(object)->isActive());
      continue;
    }
    auto* widget = static_cast<QWidget*>(object);
    EXPECT_EQ(widget->size(), QSize(definition.geometry.width, definition.geometry.height));
    const QPoint place(definition.geometry.left, definition.geometry.top);
    if (definition.parent.empty()) {
      EXPECT_EQ(widget->parentWidget(), window.Widget());
      EXPECT_EQ(widget->pos(), place);
      continue;
    }
    auto* parent = Get(definition.parent);
    if (auto* tabs = qobject_cast<TabControl*>(parent)) {
      EXPECT_EQ(widget->parentWidget(), tabs->widget(definition.page));
      // On its page, or in the tab control's coordinates where the page's
      // children leave the tab strip free.
      EXPECT_TRUE(widget->pos() == place || widget->pos() == place - tabs->PageOrigin())
          << widget->pos().x() << "," << widget->pos().y();
    } else {
      EXPECT_EQ(widget->parentWidget(), parent);
      EXPECT_EQ(widget->pos(), place);
    }
  }
}

TEST_F(QtWindowTest, PageChildrenStayClearOfTheTabStripAndInsideTheirPage) {
  // The plan pages are laid out below their tab strip down to the bottom row.
  window.SetCurrentPage("高级选择夹_总", 1);
  QApplication::processEvents();
  auto* start = Get("按钮_定位开始");
  auto* planTabs = Get<QTabWidget>("高级选择夹_计划总");
  EXPECT_EQ(start->mapTo(planTabs, QPoint(0, 0)), QPoint(576, 369));
  EXPECT_TRUE(planTabs->widget(0)->rect().contains(start->geometry()));
  // The one-key panel starts at the top of its page.
  EXPECT_EQ(Get("超级按钮_后一")->pos(), QPoint(6, 9));
}

TEST_F(QtWindowTest, FormValuesAreShown) {
  for (const ui::ControlDefinition& definition : ui::MainForm()) {
    SCOPED_TRACE(definition.name);
    switch (definition.kind) {
      case ControlKind::ComboBox: {
        auto* combo = Get<QComboBox>(definition.name);
        ASSERT_EQ(combo->count(), static_cast<int>(definition.items.size()));
        for (int i = 0; i < combo->count(); ++i) {
          EXPECT_EQ(combo->itemText(i).toStdString(), definition.items[i]);
        }
        EXPECT_EQ(combo->currentIndex(), definition.selectedItem);
        break;
      }
      case ControlKind::CheckBox:
      case ControlKind::RadioBox:
        EXPECT_EQ(Get<QAbstractButton>(definition.name)->isChecked(), definition.checked);
        EXPECT_EQ(window.Text(definition.name), definition.text);
        break;
      case ControlKind::TabControl: {
        auto* tabs = Get<QTabWidget>(definition.name);
        EXPECT_EQ(tabs->currentIndex(), 0);
        ASSERT_EQ(tabs->count(), static_cast<int>(definition.pages.size()));
        for (int i = 0; i < tabs->count(); ++i) {
          EXPECT_EQ(tabs->tabText(i).toStdString(), definition.pages[i]);
        }
        break;
      }
      case ControlKind::ImageButton:
        EXPECT_EQ(window.Selected(definition.name), definition.initiallySelected);
        EXPECT_EQ(window.Text(definition.name), definition.text);
        break;
      case ControlKind::EditBox:
      case ControlKind::Label:
      case ControlKind::Button:
        EXPECT_EQ(window.Text(definition.name), definition.text);
        break;
      case ControlKind::ListView: {
        auto* list = Get<QTreeWidget>(definition.name);
        ASSERT_EQ(list->columnCount(), std::max<int>(1, definition.columns.size()));
        for (int i = 0; i < static_cast<int>(definition.columns.size()); ++i) {
          EXPECT_EQ(list->headerItem()->text(i).toStdString(), definition.columns[i].caption);
          EXPECT_EQ(list->columnWidth(i), definition.columns[i].width);
        }
        break;
      }
      case ControlKind::PictureBox:
        EXPECT_EQ(window.PictureOf(definition.name), ui::Picture{});
        EXPECT_FALSE(Get<QLabel>(definition.name)->pixmap().isNull());
        break;
      default:
        break;
    }
  }
}

TEST_F(QtWindowTest, NumberBoxesRefuseLettersAndExtraCharacters) {
  for (const char* name : {"编辑框_定位码数", "编辑框_定位期数", "编辑框_后二码数",
                           "编辑框_后二期数", "编辑框_后三码数", "编辑框_后三期数"}) {
    SCOPED_TRACE(name);
    auto* edit = Get<QLineEdit>(name);
    window.SetText(name, "");
    QTest::keyClicks(edit, "a");
    EXPECT_EQ(window.Text(name), "");
    QTest::keyClicks(edit, "7");
    EXPECT_EQ(window.Text(name), "7");
    QTest::keyClicks(edit, "8");
    EXPECT_EQ(window.Text(name), "7");
  }
  // The rules bind the user, not the program.
  window.SetText("编辑框_定位期数", "12");
  EXPECT_EQ(window.Text("编辑框_定位期数"), "12");
  // Boxes without the rules take anything.
  auto* name = Get<QLineEdit>("编辑框_定位名");
  QTest::keyClicks(name, "ab1");
  EXPECT_EQ(window.Text("编辑框_定位名"), "ab1");
}

TEST_F(QtWindowTest, EveryOneLineBoxTakesTheKeysTheMemoryWindowTakes) {
  ui::MemoryWindow memory;
  int limited = 0;
  for (const ui::ControlDefinition& definition : ui::MainForm()) {
    if (definition.kind != ControlKind::EditBox || definition.multiLine) {
      continue;
    }
    limited += ui::LimitsTyping(definition) ? 1 : 0;
    for (const char* keys : {"a7", "78", "七1", "1x2y3"}) {
      SCOPED_TRACE(definition.name + " <- " + keys);
      window.SetText(definition.name, "");
      memory.SetText(definition.name, "");
      for (QChar key : QString::fromUtf8(keys)) {
        // keyClicks knows ASCII keys only; a key that types text of its own.
        QTest::sendKeyEvent(QTest::Click, Get<QLineEdit>(definition.name), Qt::Key_unknown,
                            QString(key), Qt::NoModifier);
      }
      memory.Type(definition.name, keys);
      EXPECT_EQ(window.Text(definition.name), memory.Text(definition.name));
    }
  }
  EXPECT_GT(limited, 0);
}

TEST_F(QtWindowTest, ClicksReachTheirHandlersAfterTheControlChanged) {
  std::vector<bool> seen;
  window.Bind("超级按钮_后一2", ui::Event::Click,
              [&](int) { seen.push_back(window.Selected("超级按钮_后一2")); });
  auto* preset = Get("超级按钮_后一2");
  QTest::mouseClick(preset, Qt::LeftButton);
  QTest::mouseClick(preset, Qt::LeftButton);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));

  int plainClicks = 0;
  window.Bind("超级按钮_一键开启", ui::Event::Click, [&](int) { ++plainClicks; });
  QTest::mouseClick(Get("超级按钮_一键开启"), Qt::LeftButton);
  EXPECT_EQ(plainClicks, 1);
  EXPECT_FALSE(window.Selected("超级按钮_一键开启"));

  // A disabled button ignores the click.
  window.SetEnabled("超级按钮_一键开启", false);
  QTest::mouseClick(Get("超级按钮_一键开启"), Qt::LeftButton);
  EXPECT_EQ(plainClicks, 1);

  bool checkedInHandler = false;
  window.Bind("单选框_万", ui::Event::Click,
              [&](int) { checkedInHandler = window.Checked("单选框_万"); });
  QTest::mouseClick(Get("单选框_万"), Qt::LeftButton);
  EXPECT_TRUE(checkedInHandler);
  EXPECT_FALSE(window.Checked("单选框_个"));
  // Radio boxes of another container keep their state.
  EXPECT_TRUE(window.Checked("单选框_后二复试"));
  EXPECT_TRUE(window.Checked("单选框_数据源1"));
}

TEST_F(QtWindowTest, RadioBoxesCanBeSetOffAndOnByTheProgram) {
  window.SetChecked("单选框_数据源1", false);
  EXPECT_FALSE(window.Checked("单选框_数据源1"));
  EXPECT_FALSE(window.Checked("单选框_数据源2"));
  window.SetChecked("单选框_数据源2", true);
  window.SetChecked("单选框_数据源1", true);
  EXPECT_TRUE(window.Checked("单选框_数据源1"));
  EXPECT_FALSE(window.Checked("单选框_数据源2"));
}

TEST_F(QtWindowTest, ControlOperationsReachTheWidgets) {
  window.SetText("编辑框_后一结果", "第一行\r\n第二行");
  window.AppendText("编辑框_后一结果", "\r\n第三行");
  EXPECT_EQ(window.Text("编辑框_后一结果"), "第一行\r\n第二行\r\n第三行");
  EXPECT_EQ(Get<QPlainTextEdit>("编辑框_后一结果")->blockCount(), 3);

  window.ClearItems("组合框_搜起始期");
  window.AddItem("组合框_搜起始期", "20240101-001");
  window.AddItem("组合框_搜起始期", "20240101-002");
  window.SetCurrentIndex("组合框_搜起始期", 1);
  EXPECT_EQ(window.ItemCount("组合框_搜起始期"), 2);
  EXPECT_EQ(window.ItemText("组合框_搜起始期", 1), "20240101-002");
  EXPECT_EQ(window.CurrentIndex("组合框_搜起始期"), 1);
  window.SetCurrentIndex("组合框_搜起始期", 7);
  EXPECT_EQ(window.CurrentIndex("组合框_搜起始期"), -1);

  window.SetCurrentPage("高级选择夹_计划总", 5);
  EXPECT_EQ(Get<QTabWidget>("高级选择夹_计划总")->currentIndex(), 5);

  window.SetPicture("图片框3", ui::Picture{7});
  EXPECT_EQ(window.PictureOf("图片框3"), ui::Picture{7});
  EXPECT_THROW(window.SetPicture("图片框3", ui::Picture{10}), std::invalid_argument);
  EXPECT_EQ(window.PictureOf("图片框3"), ui::Picture{7});
  EXPECT_THROW(window.SetCurrentPage("高级选择夹_计划总", 6), std::out_of_range);

  window.Navigate("超文本浏览框_开奖", "http://127.0.0.1:1/jxssc/");
  EXPECT_EQ(window.Address("超文本浏览框_开奖"), "http://127.0.0.1:1/jxssc/");

  window.SetClipboardText("复制的计划");
  EXPECT_EQ(window.ClipboardText(), "复制的计划");

  window.MessageBox("提示", "复制成功");
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].text, "复制成功");

  EXPECT_THROW(window.Text("没有这个控件"), std::out_of_range);
  EXPECT_THROW(window.Bind("没有这个控件", ui::Event::Click, [](int) {}), std::out_of_range);
}

TEST_F(QtWindowTest, ListViewRowsAndRowEvents) {
  const std::string list = "超级列表框_搜索";
  EXPECT_EQ(window.InsertRow(list, -1), 0);
  EXPECT_EQ(window.InsertRow(list, 99), 1);
  EXPECT_EQ(window.InsertRow(list, 0), 0);
  window.SetCell(list, 0, 1, "DCC*657");
  window.SetCell(list, 2, 2, "80%");
  EXPECT_EQ(window.RowCount(list), 3);
  EXPECT_EQ(window.Cell(list, 0, 1), "DCC*657");
  EXPECT_EQ(window.Cell(list, 2, 2), "80%");
  EXPECT_EQ(window.Cell(list, 5, 0), "");
  EXPECT_EQ(window.CurrentRow(list), -1);

  std::vector<int> clicks;
  std::vector<int> activations;
  window.Bind(list, ui::Event::RowClick, [&](int row) { clicks.push_back(row); });
  window.Bind(list, ui::Event::RowActivate, [&](int row) { activations.push_back(row); });
  auto* view = Get<QTreeWidget>(list);
  const QPoint row2 = view->visualItemRect(view->topLevelItem(2)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row2);
  ASSERT_EQ(clicks, std::vector<int>{2});
  EXPECT_EQ(window.CurrentRow(list), 2);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row2);
  EXPECT_EQ(activations, std::vector<int>{2});

  window.SetCurrentRow(list, 1);
  EXPECT_EQ(window.CurrentRow(list), 1);
  window.DeleteAllRows(list);
  EXPECT_EQ(window.RowCount(list), 0);
  EXPECT_EQ(window.CurrentRow(list), -1);
}

TEST_F(QtWindowTest, TimersTickWhileWaitingAndStopAtZero) {
  int ticks = 0;
  window.Bind("时钟_倒计时", ui::Event::Tick, [&](int) { ++ticks; });
  EXPECT_EQ(window.Interval("时钟_倒计时"), 0);
  window.SetInterval("时钟_倒计时", 10);
  EXPECT_EQ(window.Interval("时钟_倒计时"), 10);
  EXPECT_TRUE(window.WaitUntil([&] { return ticks >= 3; }, 10s));
  window.SetInterval("时钟_倒计时", 0);
  EXPECT_EQ(window.Interval("时钟_倒计时"), 0);
  const int stoppedAt = ticks;
  window.Pause(50ms);
  EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(QtWindowTest, WaitUntilWakesForAnotherThreadAndGivesUpAtItsLimit) {
  std::atomic<bool> done = false;
  std::thread worker([&] {
    std::this_thread::sleep_for(20ms);
    done = true;
    window.Wake();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(window.WaitUntil([&] { return done.load(); }, 120s));
  // Without the wake the wait would sleep through to its limit.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
  worker.join();

  EXPECT_FALSE(window.WaitUntil([] { return false; }, 30ms));
}

TEST_F(QtWindowTest, ClosingTheProgramEndsTheWaitsAtOnce) {
  // The user closes the window while the start-up still waits for the history.
  std::optional<bool> result;
  std::chrono::steady_clock::duration waited{};
  QTimer::singleShot(0, [&] {
    const auto start = std::chrono::steady_clock::now();
    result = window.WaitUntil([] { return false; }, 120s);
    window.Pause(60s);
    waited = std::chrono::steady_clock::now() - start;
  });
  QTimer::singleShot(20, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
  EXPECT_EQ(result, false);
  EXPECT_LT(waited, 20s);
}

TEST_F(QtWindowTest, RowCheckBoxesHeadersProgressAndCharts) {
  std::vector<int> flipped;
  window.Bind("超级列表框_群发", ui::Event::RowCheck, [&](int row) { flipped.push_back(row); });
  window.InsertRow("超级列表框_群发", -1);
  window.SetCell("超级列表框_群发", 0, 1, "群一");
  window.SetRowChecked("超级列表框_群发", 0, true);  // the program's, no event
  EXPECT_TRUE(window.RowChecked("超级列表框_群发", 0));
  auto* groups = Get<QTreeWidget>("超级列表框_群发");
  groups->topLevelItem(0)->setCheckState(0, Qt::Unchecked);  // as the user's click does
  EXPECT_FALSE(window.RowChecked("超级列表框_群发", 0));
  EXPECT_EQ(flipped, std::vector<int>{0});

  int header = -1;
  window.Bind("超级列表框_回测", ui::Event::HeaderClick, [&](int column) { header = column; });
  emit Get<QTreeWidget>("超级列表框_回测")->header()->sectionClicked(7);
  EXPECT_EQ(header, 7);

  window.SetProgress("进度条_回测", 250);
  EXPECT_EQ(Get<QProgressBar>("进度条_回测")->value(), 100);
  EXPECT_EQ(window.Text("进度条_回测"), "100%");

  const std::string chart = "走势图_号码";
  for (int r = 0; r < 6; ++r) {
    window.InsertRow(chart, -1);
    window.SetCell(chart, r, 0, r < 2 ? "20240101-00" + std::to_string(r + 1) : "出现次数");
  }
  window.SetRowMark(chart, 0, 5);
  window.SetRowMark(chart, 1, 9);
  EXPECT_EQ(window.RowMark(chart, 1), 9);
  EXPECT_EQ(window.Cell(chart, 1, 0), "20240101-002");
  QCoreApplication::processEvents();
  // The view holds the rows, the last four as its summary band.
  const trend::TrendChart& shown = Get<TrendChartView>(chart)->Chart();
  EXPECT_EQ(shown.rows.size(), 6u);
  EXPECT_EQ(shown.ballColumns, (std::vector<int>{5, 9}));
}

}  // namespace
}  // namespace gui
