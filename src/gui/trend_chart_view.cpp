#include "gui/trend_chart_view.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "gui/qt_text.h"

namespace gui {
namespace {

constexpr int kCellPadding = 8;  // left and right of the widest text, together
const QColor kShadedRow(242, 244, 249);
const QColor kGrid(219, 222, 230);
const QColor kGroupLine(160, 163, 176);
const QColor kHeaderFace(222, 223, 230);
const QColor kText(24, 24, 28);
const QColor kOmissionText(124, 126, 134);
const QColor kSummaryText(0, 84, 170);
const QColor kTrendLine(226, 96, 96);

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

}  // namespace

TrendChartView::TrendChartView(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setBackgroundRole(QPalette::Base);
  Relayout();
}

trend::ChartRowBuffer& TrendChartView::EditRows() {
  if (!showPending_) {
    showPending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { ShowRows(); }, Qt::QueuedConnection);
  }
  return rows_;
}

void TrendChartView::ShowRows() {
  showPending_ = false;
  chart_ = rows_.Chart();
  Relayout();
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  viewport()->update();
}

void TrendChartView::Relayout() {
  const QFontMetrics plain(font());
  const QFontMetrics bold(Bold(font()));
  rowHeight_ = plain.height() + 8;

  // Every column fits its widest text; digit columns share one width so the
  // grid stays even, and are never narrower than a ball.
  const std::vector<std::string>& captions = trend::TrendColumnCaptions();
  std::vector<int> widths(trend::kColumnCount, 0);
  for (int column = 0; column < trend::kColumnCount; ++column) {
    widths[column] = bold.horizontalAdvance(Q(captions[column]));
  }
  for (std::size_t row = 0; row < chart_.rows.size(); ++row) {
    const bool summary = static_cast<int>(row) >= chart_.DrawRowCount();
    for (int column = 0; column < trend::kColumnCount; ++column) {
      const QString text = Q(chart_.rows[row][column]);
      const int width = summary && column == trend::kIssueColumn ? bold.horizontalAdvance(text)
                                                                 : plain.horizontalAdvance(text);
      widths[column] = std::max(widths[column], width);
    }
  }
  int digitWidth = rowHeight_ + 4 - kCellPadding;
  for (int column = trend::kFirstDigitColumn; column < trend::kSizeColumn; ++column) {
    digitWidth = std::max(digitWidth, widths[column]);
  }
  int total = 0;
  for (int column = 0; column < trend::kColumnCount; ++column) {
    widths[column] = (trend::IsDigitColumn(column) ? digitWidth : widths[column]) + kCellPadding;
    total += widths[column];
  }

  // Spare width goes to every column alike, the rest of it to the first.
  const int spare = std::max(0, viewport()->width() - total);
  columnEdges_.assign(1, 0);
  for (int column = 0; column < trend::kColumnCount; ++column) {
    int width = widths[column] + spare / trend::kColumnCount;
    if (column == 0) width += spare % trend::kColumnCount;
    columnEdges_.push_back(columnEdges_.back() + width);
  }

  horizontalScrollBar()->setRange(0, std::max(0, columnEdges_.back() - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(ColumnWidth(trend::kFirstDigitColumn));
  const int shownHeight = SummaryTop() - HeaderHeight();
  QScrollBar* vertical = verticalScrollBar();
  const bool atEnd = vertical->value() == vertical->maximum();
  vertical->setRange(0, std::max(0, DrawRowsHeight() - shownHeight));
  vertical->setPageStep(std::max(rowHeight_, shownHeight));
  vertical->setSingleStep(rowHeight_);
  if (atEnd) vertical->setValue(vertical->maximum());
}

int TrendChartView::ColumnWidth(int column) const {
  return columnEdges_[column + 1] - columnEdges_[column];
}

int TrendChartView::HeaderHeight() const { return rowHeight_ + 2; }

int TrendChartView::DrawRowsHeight() const { return chart_.DrawRowCount() * rowHeight_; }

// Right below the newest row while the rows fit, at the bottom once they scroll.
int TrendChartView::SummaryTop() const {
  const int summaryHeight = trend::kSummaryRowCount * rowHeight_;
  const int bottom = std::max(HeaderHeight(), viewport()->height() - summaryHeight);
  return std::min(HeaderHeight() + DrawRowsHeight(), bottom);
}

QRect TrendChartView::CellRect(int row, int column) const {
  const int left = columnEdges_[column] - horizontalScrollBar()->value();
  const int top = row < chart_.DrawRowCount()
                      ? HeaderHeight() + row * rowHeight_ - verticalScrollBar()->value()
                      : SummaryTop() + (row - chart_.DrawRowCount()) * rowHeight_;
  return {left, top, ColumnWidth(column), rowHeight_};
}

void TrendChartView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

void TrendChartView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    Relayout();
    viewport()->update();
  }
}

void TrendChartView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));

  const int scrolled = verticalScrollBar()->value();
  const int shownHeight = SummaryTop() - HeaderHeight();
  if (chart_.DrawRowCount() > 0 && shownHeight > 0) {
    const int first = scrolled / rowHeight_;
    const int last = std::min(chart_.DrawRowCount() - 1, (scrolled + shownHeight - 1) / rowHeight_);
    painter.save();
    painter.setClipRect(0, HeaderHeight(), viewport()->width(), shownHeight);
    PaintRowShading(painter, first, last);
    PaintTrendLine(painter, first, last);
    PaintRowTexts(painter, first, last);
    PaintBalls(painter, first, last);
    painter.restore();
  }
  PaintSummary(painter);
  PaintHeader(painter);
  PaintGroupSeparators(painter);
}

void TrendChartView::PaintRowShading(QPainter& painter, int first, int last) const {
  for (int row = first; row <= last; ++row) {
    const QRect line = CellRect(row, 0).united(CellRect(row, trend::kColumnCount - 1));
    if (row % 2 == 1) painter.fillRect(line, kShadedRow);
    painter.setPen(kGrid);
    for (int column = 0; column < trend::kColumnCount; ++column) {
      const QRect cell = CellRect(row, column);
      painter.drawLine(cell.topRight(), cell.bottomRight());
    }
    painter.drawLine(line.bottomLeft(), line.bottomRight());
  }
}

// Over the trend line, so the figures it crosses stay legible.
void TrendChartView::PaintRowTexts(QPainter& painter, int first, int last) const {
  for (int row = first; row <= last; ++row) {
    for (int column = 0; column < trend::kColumnCount; ++column) {
      if (column == chart_.ballColumns[row]) continue;
      painter.setPen(trend::IsDigitColumn(column) ? kOmissionText : kText);
      painter.drawText(CellRect(row, column), Qt::AlignCenter, Q(chart_.rows[row][column]));
    }
  }
}

// The line runs from one row before the first shown to the last, so it
// enters the view from above when the rows are scrolled.
void TrendChartView::PaintTrendLine(QPainter& painter, int first, int last) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kTrendLine, 1.6));
  for (int row = std::max(0, first - 1); row < last; ++row) {
    const int from = chart_.ballColumns[row];
    const int to = chart_.ballColumns[row + 1];
    if (from >= 0 && to >= 0) {
      painter.drawLine(QRectF(CellRect(row, from)).center(),
                       QRectF(CellRect(row + 1, to)).center());
    }
  }
  painter.restore();
}

void TrendChartView::PaintBalls(QPainter& painter, int first, int last) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(Bold(font()));
  for (int row = first; row <= last; ++row) {
    const int column = chart_.ballColumns[row];
    if (column < 0) continue;
    const QRectF cell = CellRect(row, column);
    const qreal diameter = std::min(cell.width(), cell.height()) - 3;
    QRectF ball(0, 0, diameter, diameter);
    ball.moveCenter(cell.center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kTrendBallColor));
    painter.drawEllipse(ball);
    painter.setPen(Qt::white);
    painter.drawText(ball, Qt::AlignCenter, Q(chart_.rows[row][column]));
  }
  painter.restore();
}

void TrendChartView::PaintSummary(QPainter& painter) const {
  const int rows = static_cast<int>(chart_.rows.size());
  for (int row = chart_.DrawRowCount(); row < rows; ++row) {
    const QRect line = CellRect(row, 0).united(CellRect(row, trend::kColumnCount - 1));
    painter.fillRect(line, QColor(kTrendSummaryColor));
    for (int column = 0; column < trend::kColumnCount; ++column) {
      const QRect cell = CellRect(row, column);
      painter.setFont(column == trend::kIssueColumn ? Bold(font()) : font());
      painter.setPen(column == trend::kIssueColumn ? kText : kSummaryText);
      painter.drawText(cell, Qt::AlignCenter, Q(chart_.rows[row][column]));
      painter.setPen(kGrid.darker(110));
      painter.drawLine(cell.topRight(), cell.bottomRight());
    }
    painter.drawLine(line.bottomLeft(), line.bottomRight());
  }
  painter.setFont(font());
  // A firm line sets the band apart from the draw rows.
  const QRect band = CellRect(chart_.DrawRowCount(), 0);
  painter.setPen(QPen(kGroupLine, 2));
  painter.drawLine(0, band.top(), viewport()->width(), band.top());
}

void TrendChartView::PaintHeader(QPainter& painter) const {
  const int scrolledLeft = horizontalScrollBar()->value();
  painter.fillRect(0, 0, viewport()->width(), HeaderHeight(), kHeaderFace);
  painter.setFont(Bold(font()));
  const std::vector<std::string>& captions = trend::TrendColumnCaptions();
  for (int column = 0; column < trend::kColumnCount; ++column) {
    const QRect cell(columnEdges_[column] - scrolledLeft, 0, ColumnWidth(column), HeaderHeight());
    painter.setPen(kText);
    painter.drawText(cell, Qt::AlignCenter, Q(captions[column]));
    painter.setPen(kGroupLine);
    painter.drawLine(cell.right(), 4, cell.right(), cell.bottom() - 4);
  }
  painter.setFont(font());
  painter.setPen(kGroupLine);
  painter.drawLine(0, HeaderHeight() - 1, viewport()->width(), HeaderHeight() - 1);
}

// Firm lines between the issue and code, the digits, and the forms.
void TrendChartView::PaintGroupSeparators(QPainter& painter) const {
  const int scrolledLeft = horizontalScrollBar()->value();
  const int bottom = CellRect(static_cast<int>(chart_.rows.size()) - 1, 0).bottom();
  painter.setPen(kGroupLine);
  for (int column : {trend::kFirstDigitColumn, trend::kSizeColumn}) {
    const int x = columnEdges_[column] - scrolledLeft - 1;
    painter.drawLine(x, 0, x, bottom);
  }
}

}  // namespace gui
