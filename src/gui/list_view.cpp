#include "gui/list_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace gui {

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {}

void ListView::SetCellText(QTreeWidgetItem& item, int column, const QString& text) {
  item.setText(column, text);
  UpdateToolTip(item, column, PlannedCell(column));
}

void ListView::SetTextMargins(const QMargins& margins) {
  margins_ = margins;
  updateGeometries();
}

bool ListView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const QModelIndex index = indexAt(static_cast<QHelpEvent*>(event)->pos());
    if (QTreeWidgetItem* item = itemFromIndex(index)) {
      UpdateToolTip(*item, index.column(), visualRect(index).intersected(viewport()->rect()));
    }
  }
  return QTreeWidget::viewportEvent(event);
}

void ListView::updateGeometries() {
  QTreeWidget::updateGeometries();
  const QMargins tree = viewportMargins();
  const QMargins wanted(margins_.left(), tree.top(), margins_.right(), margins_.bottom());
  if (tree == wanted) return;
  setViewportMargins(wanted);
  header()->setGeometry(viewport()->x(), header()->y(), viewport()->width(), header()->height());
}

QRect ListView::PlannedCell(int column) const {
  int rowsWidth = contentsRect().width() - margins_.left() - margins_.right();
  if (verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) {
    rowsWidth -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
  }
  const int left = header()->sectionPosition(column);
  const int right = std::min(left + header()->sectionSize(column), rowsWidth);
  return {left, 0, std::max(0, right - left), fontMetrics().height()};
}

bool ListView::ShowsWhole(const QTreeWidgetItem& item, int column, const QRect& shown) const {
  const QString text = item.text(column);
  if (text.isEmpty()) return true;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = shown;
  option.text = text;
  option.features = QStyleOptionViewItem::HasDisplay;
  if (item.data(column, Qt::CheckStateRole).isValid()) {
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
  }
  // The style draws the text in this rectangle less a margin at either side.
  const QRect textRect = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
  const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, this) + 1;
  return option.fontMetrics.horizontalAdvance(text) <= textRect.width() - 2 * margin;
}

void ListView::UpdateToolTip(QTreeWidgetItem& item, int column, const QRect& shown) const {
  // A tooltip is no change of the row: the window's row-box handler must not hear of it.
  const QSignalBlocker quiet(item.treeWidget());
  item.setToolTip(column, ShowsWhole(item, column, shown) ? QString() : item.text(column));
}

}  // namespace gui
