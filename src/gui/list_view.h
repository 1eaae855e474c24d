#pragma once

#include <QMargins>
#include <QString>
#include <QTreeWidget>

class QEvent;
class QRect;

namespace gui {

// A list view whose cells show whole texts in their tooltip: a text the cell
// cannot show whole, elided in its column or cut by the list's right edge,
// is the cell's tooltip too.
class ListView : public QTreeWidget {
  Q_OBJECT

 public:
  explicit ListView(QWidget* parent);

  void SetCellText(QTreeWidgetItem& item, int column, const QString& text);
  // Keeps the header and the rows off the list's left, right and bottom
  // edges, for a list the form places partly out of sight (the header keeps
  // the top).
  void SetTextMargins(const QMargins& margins);

 protected:
  // Before a tooltip shows, it follows the columns' widths and the scrolling.
  bool viewportEvent(QEvent* event) override;
  // The tree lays its header out over the viewport's margins each time.
  void updateGeometries() override;

 private:
  // Where the cells of a column lie before any scrolling, cut at the right
  // edge of the rows (a vertical scroll bar counted in while there may be one).
  QRect PlannedCell(int column) const;
  bool ShowsWhole(const QTreeWidgetItem& item, int column, const QRect& shown) const;
  void UpdateToolTip(QTreeWidgetItem& item, int column, const QRect& shown) const;

  QMargins margins_;
};

}  // namespace gui
