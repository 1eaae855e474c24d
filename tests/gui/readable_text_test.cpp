// Texts the window shows can be read whole: wrapped labels, tooltips on cut
// cells, and text kept in sight where a control reaches out of its page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/qt_window.h"
#include "ui/form.h"

namespace gui {
namespace {

using ui::ControlKind;

class ReadableTextTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 0);
      setenv("LANZHOU_NO_WEBENGINE", "1", 1);
      setenv("LANZHOU_MESSAGEBOX_LOG", "1", 1);
      static int argc = 1;
      static char name[] = "readable_text_test";
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
    if (widget == nullptr) throw std::runtime_error("no widget " + name);
    return widget;
  }

  // Brings the pages holding the control to the front, laid out for real.
  void ShowPageOf(const ui::ControlDefinition& definition) {
    for (const ui::ControlDefinition* d = &definition; !d->parent.empty();) {
      const ui::ControlDefinition* parent = ui::FindControl(d->parent);
      if (parent->kind == ControlKind::TabControl) window.SetCurrentPage(parent->name, d->page);
      d = parent;
    }
    QApplication::processEvents();
  }

  QtWindow window;
};

// The platform's message of a failed send, cut at 120 bytes, under the
// group's name, as the 群发 page shows it.
const char* const kLongStatus =
    "计划二群\n失败：HTTP 403 invalid webhook url: this robot has been removed from the group or "
    "its key was reset; create a new robot and copy its ad…（errcode 93000）";

TEST_F(ReadableTextTest, LabelsMarkedMultiLineWrapTheirText) {
  int multiLine = 0;
  for (const ui::ControlDefinition& definition : ui::MainForm()) {
    if (definition.kind != ControlKind::Label && definition.kind != ControlKind::TransparentLabel) {
      continue;
    }
    SCOPED_TRACE(definition.name);
    EXPECT_EQ(Get<QLabel>(definition.name)->wordWrap(), definition.multiLine);
    multiLine += definition.multiLine ? 1 : 0;
  }
  EXPECT_GT(multiLine, 0);
}

TEST_F(ReadableTextTest, ALongSendStatusFitsItsLabelWhole) {
  window.SetText("标签_群发状态", kLongStatus);
  ShowPageOf(*ui::FindControl("标签_群发状态"));
  auto* label = Get<QLabel>("标签_群发状态");
  // The rectangle the label's text takes when drawn as the label draws it.
  const QRect room = label->contentsRect();
  const int flags =
      static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
  const QRect needed = label->fontMetrics().boundingRect(room, flags, label->text());
  EXPECT_TRUE(room.contains(needed))
      << "needs " << needed.width() << "x" << needed.height() << " at " << needed.x() << ","
      << needed.y() << ", has " << room.width() << "x" << room.height();
}

struct CellCase {
  const char* list;
  int column;
  std::string text;
  bool cut;  // the whole text becomes the tooltip
};

TEST_F(ReadableTextTest, CellsThatCannotShowTheirWholeTextCarryItAsTooltip) {
  const std::vector<CellCase> cases = {
      {"超级列表框_回测", 1, "DCC*657", false},
      // Elided with "…" in the 公式 column.
      {"超级列表框_回测", 1, "AB*CD+E*123-BCD*45+ACE*678-DE*9", true},
      {"超级列表框_回测", 1, "", false},
      {"超级列表框_群发", 1, "工作群", false},
      // The 状态 column starts near the list's right edge: even a short status is cut.
      {"超级列表框_群发", 2, "已发送 10:00:02", true},
      {"超级列表框_群发", 2, kLongStatus, true},
  };
  for (const CellCase& c : cases) {
    SCOPED_TRACE(std::string(c.list) + " <- " + c.text);
    window.DeleteAllRows(c.list);
    window.InsertRow(c.list, -1);
    window.SetCell(c.list, 0, c.column, c.text);
    QTreeWidgetItem* item = Get<QTreeWidget>(c.list)->topLevelItem(0);
    EXPECT_EQ(item->toolTip(c.column).toStdString(), c.cut ? c.text : "");
    EXPECT_EQ(window.Cell(c.list, 0, c.column), c.text);
  }
}

TEST_F(ReadableTextTest, ACellsTooltipGoesWithAShorterText) {
  const std::string list = "超级列表框_回测";
  window.InsertRow(list, -1);
  window.SetCell(list, 0, 1, "AB*CD+E*123-BCD*45+ACE*678-DE*9");
  window.SetCell(list, 0, 1, "DCC*657");
  EXPECT_EQ(Get<QTreeWidget>(list)->topLevelItem(0)->toolTip(1).toStdString(), "");
}

// Hovering asks for the tooltip where the cell is now, after a column was
// resized; a tooltip is no change of the row's box.
TEST_F(ReadableTextTest, TheTooltipFollowsAResizedColumnWithoutTouchingTheRowBox) {
  const std::string list = "超级列表框_群发";
  int rowChecks = 0;
  window.Bind(list, ui::Event::RowCheck, [&](int) { ++rowChecks; });
  ShowPageOf(*ui::FindControl(list));
  window.InsertRow(list, -1);
  const std::string number = "1234567890123456";
  window.SetCell(list, 0, 0, number);
  auto* view = Get<QTreeWidget>(list);
  QTreeWidgetItem* item = view->topLevelItem(0);
  ASSERT_EQ(item->toolTip(0).toStdString(), number);

  view->header()->resizeSection(0, 280);
  QApplication::processEvents();
  const QPoint at(view->header()->sectionViewportPosition(0) + 140,
                  view->visualItemRect(item).center().y());
  QHelpEvent hover(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
  QApplication::sendEvent(view->viewport(), &hover);
  EXPECT_EQ(item->toolTip(0).toStdString(), "");
  EXPECT_EQ(rowChecks, 0);
}

// Where a control draws its text, in its own coordinates; nullopt for kinds
// whose text is not checked here.
std::optional<QRect> TextArea(const ui::ControlDefinition& definition, QWidget* widget) {
  switch (definition.kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
      return static_cast<QLabel*>(widget)->contentsRect();
    case ControlKind::EditBox:
      if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) return box->viewport()->geometry();
      return std::nullopt;
    case ControlKind::ListView: {
      auto* list = static_cast<QTreeWidget*>(widget);
      return list->viewport()->geometry().united(list->header()->geometry());
    }
    default:
      return std::nullopt;
  }
}

TEST_F(ReadableTextTest, TextStaysInSightWhereItsControlReachesOutOfSight) {
  std::set<std::string> reachingOut;
  for (const ui::ControlDefinition& definition : ui::MainForm()) {
    if (definition.kind == ControlKind::Timer) continue;
    QWidget* widget = Get(definition.name);
    ShowPageOf(definition);
    const std::optional<QRect> area = TextArea(definition, widget);
    if (!area) continue;
    SCOPED_TRACE(definition.name);
    for (QWidget* container = widget->parentWidget(); container != nullptr;
         container = container->parentWidget()) {
      const QRect place(widget->mapTo(container, QPoint(0, 0)), widget->size());
      if (!container->rect().contains(place)) reachingOut.insert(definition.name);
      const QRect text(widget->mapTo(container, area->topLeft()), area->size());
      EXPECT_TRUE(container->rect().contains(text))
          << "cut by " << container->objectName().toStdString() << " "
          << container->metaObject()->className() << ": " << text.x() << "," << text.y() << " "
          << text.width() << "x" << text.height() << " in " << container->width() << "x"
          << container->height();
    }
  }
  // The form keeps these where it places them, partly out of sight: the plan
  // pages' boxes, list and a label on the left, the result boxes below.
  for (const char* name :
       {"编辑框_定位公式1", "编辑框_二星公式1", "编辑框_三星公式1", "编辑框_计划和集",
        "超级列表框_搜索", "标签10", "编辑框_后一结果", "编辑框_后二结果", "编辑框_后三结果"}) {
    EXPECT_EQ(reachingOut.count(name), 1u) << name;
  }
}

// The margin takes no more than is out of sight: the search list's columns
// still fit beside its scroll bar.
TEST_F(ReadableTextTest, TheSearchListNeedsNoSidewaysScrolling) {
  const std::string list = "超级列表框_搜索";
  ShowPageOf(*ui::FindControl(list));
  for (int row = 0; row < 40; ++row) window.SetCell(list, window.InsertRow(list, -1), 1, "DCC*657");
  auto* view = Get<QTreeWidget>(list);
  view->doItemsLayout();
  QApplication::processEvents();
  ASSERT_TRUE(view->verticalScrollBar()->isVisible());
  EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace gui
