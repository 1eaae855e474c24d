#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QRect>
#include <vector>

#include "trend/chart_row_buffer.h"
#include "trend/trend_chart_layout.h"

namespace gui {

inline constexpr QRgb kTrendBallColor = qRgb(214, 36, 36);
inline constexpr QRgb kTrendSummaryColor = qRgb(255, 244, 214);

// The picture of a trend chart: the captions on top, the draw rows scrolling
// beneath them, the summary rows held in a tinted band below the newest row.
// Each drawn digit is a red ball, joined to the ball of the row before. It
// draws the rows it is given and nothing else.
class TrendChartView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TrendChartView(QWidget* parent = nullptr);

  const trend::ChartRowBuffer& Rows() const { return rows_; }
  // The rows to change. The picture follows, scrolled to the newest draw row,
  // once the event being handled is through: a chart is written cell by cell.
  trend::ChartRowBuffer& EditRows();
  // What the view draws now.
  const trend::TrendChart& Chart() const { return chart_; }

  // Where a cell lies in the viewport as the view is scrolled now; rows past
  // the draw rows are the summary rows.
  QRect CellRect(int row, int column) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ShowRows();
  void Relayout();
  int ColumnWidth(int column) const;
  int HeaderHeight() const;
  int SummaryTop() const;
  int DrawRowsHeight() const;

  void PaintRowShading(QPainter& painter, int first, int last) const;
  void PaintTrendLine(QPainter& painter, int first, int last) const;
  void PaintRowTexts(QPainter& painter, int first, int last) const;
  void PaintBalls(QPainter& painter, int first, int last) const;
  void PaintSummary(QPainter& painter) const;
  void PaintHeader(QPainter& painter) const;
  void PaintGroupSeparators(QPainter& painter) const;

  trend::ChartRowBuffer rows_;
  bool showPending_ = false;
  trend::TrendChart chart_;
  // Left edge of every column and the right edge of the last, unscrolled.
  std::vector<int> columnEdges_;
  int rowHeight_ = 0;
};

}  // namespace gui
