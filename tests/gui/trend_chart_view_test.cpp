#include "gui/trend_chart_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "gui/fonts_and_theme.h"
#include "trend/chart_row_buffer.h"
#include "trend/trend_chart.h"

namespace gui {
namespace {

// The page of 高级选择夹_总 (694 × 621) inside its tab bar and frame.
constexpr int kPageWidth = 690;
constexpr int kPageHeight = 594;

std::vector<lottery::Draw> SampleArchive(int count) {
  std::mt19937 random(2024);
  std::vector<lottery::Draw> archive;
  for (int i = 0; i < count; ++i) {
    char issue[16];
    std::snprintf(issue, sizeof issue, "202403%02d-%03d", 1 + i / 120, 1 + i % 120);
    std::string code;
    for (int k = 0; k < 5; ++k) code.push_back(static_cast<char>('0' + random() % 10));
    archive.push_back({issue, code});
  }
  return archive;
}

// Pixels near white inside the circle of a ball centred in `cell`.
int CountLightPixelsInBall(const QImage& image, const QRect& cell) {
  const QPointF centre = QRectF(cell).center();
  const double radius = (std::min(cell.width(), cell.height()) - 3) / 2.0 - 1;
  int count = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y) {
    for (int x = cell.left(); x <= cell.right(); ++x) {
      const QPointF offset = QPointF(x + 0.5, y + 0.5) - centre;
      const QColor pixel = image.pixelColor(x, y);
      if (QPointF::dotProduct(offset, offset) < radius * radius && pixel.red() > 200 &&
          pixel.green() > 200 && pixel.blue() > 200) {
        ++count;
      }
    }
  }
  return count;
}

int CountPixels(const QImage& image, const QRect& area, QRgb colour) {
  int count = 0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff)) ++count;
    }
  }
  return count;
}

class TrendChartViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 0);
      static int argc = 1;
      static char name[] = "trend_chart_view_test";
      static char* argv[] = {name, nullptr};
      auto* application = new QApplication(argc, argv);
      InstallFontSubstitutes();
      ApplySilverTheme(*application);
    }
  }

  // The chart written into the view row by row, as the window's handlers
  // write it, shown at the page's size in the font of the form's list views.
  QImage Show(const trend::TrendChart& chart, QSize size = {kPageWidth, kPageHeight}) {
    view.setFont(FormFont({"微软雅黑", 14}));
    view.resize(size);
    trend::ChartRowBuffer& rows = view.EditRows();
    rows.Clear();
    for (std::size_t r = 0; r < chart.rows.size(); ++r) {
      const int row = rows.Insert(-1);
      for (std::size_t c = 0; c < chart.rows[r].size(); ++c) {
        rows.SetCell(row, static_cast<int>(c), chart.rows[r][c]);
      }
      if (r < chart.ballColumns.size()) rows.SetMark(row, chart.ballColumns[r]);
    }
    QCoreApplication::processEvents();
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    return view.grab().toImage();
  }

  // A cell of the chart in the grabbed picture.
  QRect CellInPicture(int row, int column) const {
    return view.CellRect(row, column).translated(view.viewport()->mapTo(&view, QPoint(0, 0)));
  }

  TrendChartView view;
};

TEST_F(TrendChartViewTest, NewestRowsShowTheirBallsAtThePageSize) {
  const QImage picture = Show(trend::BuildTrendChart(SampleArchive(300), 4, 50));
  const char* keep = std::getenv("LANZHOU_TREND_PNG");
  picture.save(keep != nullptr ? keep : "/tmp/trend.png");

  const trend::TrendChart& chart = view.Chart();
  const int newest = chart.DrawRowCount() - 1;
  const QRect viewport = view.viewport()->rect().translated(CellInPicture(0, 0).topLeft() -
                                                            view.CellRect(0, 0).topLeft());
  for (int row = newest; row > newest - 5; --row) {
    SCOPED_TRACE("draw row " + std::to_string(row));
    const int ball = chart.ballColumns[row];
    const QRect cell = CellInPicture(row, ball);
    ASSERT_TRUE(viewport.contains(cell));
    const int diameter = std::min(cell.width(), cell.height()) - 3;
    // The ball fills most of its circle; its digit is written in white.
    EXPECT_GT(CountPixels(picture, cell, kTrendBallColor), diameter * diameter / 2);
    EXPECT_GT(CountLightPixelsInBall(picture, cell), 4);
    // No other digit of the row is a ball.
    for (int column = trend::kFirstDigitColumn; column < trend::kSizeColumn; ++column) {
      if (column != ball) {
        EXPECT_EQ(CountPixels(picture, CellInPicture(row, column), kTrendBallColor), 0) << column;
      }
    }
  }
  // Scrolled to the end: the oldest rows lie above the view, the band right below the newest.
  EXPECT_LT(view.CellRect(0, 0).top(), 0);
  EXPECT_EQ(view.CellRect(newest + 1, 0).top(), view.CellRect(newest, 0).bottom() + 1);
  for (int row = newest + 1; row < static_cast<int>(chart.rows.size()); ++row) {
    const QRect cell = CellInPicture(row, trend::kSizeColumn);
    ASSERT_TRUE(viewport.contains(cell)) << row;
    EXPECT_GT(CountPixels(picture, cell, kTrendSummaryColor), cell.width() * cell.height() / 2)
        << row;
  }
}

TEST_F(TrendChartViewTest, EmptyArchiveShowsTheSummaryBandUnderTheHeader) {
  const QImage picture = Show(trend::BuildTrendChart({}, 4, 50));
  EXPECT_EQ(CountPixels(picture, picture.rect(), kTrendBallColor), 0);
  const QRect first = CellInPicture(0, trend::kSizeColumn);
  EXPECT_LT(first.top(), 40);
  EXPECT_GT(CountPixels(picture, first, kTrendSummaryColor), first.width() * first.height() / 2);
}

TEST_F(TrendChartViewTest, ASmallViewStillScrollsToTheNewestBall) {
  const QImage picture = Show(trend::BuildTrendChart(SampleArchive(300), 0, 200), {360, 260});
  const trend::TrendChart& chart = view.Chart();
  const int newest = chart.DrawRowCount() - 1;
  const QRect cell = CellInPicture(newest, chart.ballColumns[newest]);
  EXPECT_GT(CountPixels(picture, cell, kTrendBallColor), 0);
  EXPECT_GT(view.CellRect(newest, 0).top(), view.CellRect(0, 0).top());
  EXPECT_GT(view.verticalScrollBar()->maximum(), 0);
}

TEST_F(TrendChartViewTest, ARaggedChartShowsWhatItHolds) {
  trend::TrendChart chart = trend::BuildTrendChart({}, 4, 0);
  chart.rows.insert(chart.rows.begin(),
                    {{"20240301-001", "12345", "1", "2", "3", "4", "5", "1"}, {"20240301-002"}});
  chart.ballColumns = {7, 30, 4};
  const QImage picture = Show(chart);
  EXPECT_EQ(view.Chart().ballColumns, (std::vector<int>{7, -1}));
  for (const auto& row : view.Chart().rows) EXPECT_EQ(row.size(), trend::kColumnCount);
  EXPECT_GT(CountPixels(picture, CellInPicture(0, 7), kTrendBallColor), 0);
  EXPECT_EQ(CountPixels(picture, CellInPicture(1, 4), kTrendBallColor), 0);
}

TEST_F(TrendChartViewTest, TheViewDrawsOnlyTheRowsItIsGiven) {
  const QImage before = Show(trend::BuildTrendChart(SampleArchive(300), 4, 50));
  EXPECT_GT(CountPixels(before, before.rect(), kTrendSummaryColor), 0);
  view.EditRows().Clear();
  EXPECT_EQ(view.Chart().rows.size(), 54u) << "the picture waits for the handler to finish";
  QCoreApplication::processEvents();
  EXPECT_TRUE(view.Chart().rows.empty());
  const QImage picture = view.grab().toImage();
  EXPECT_EQ(CountPixels(picture, picture.rect(), kTrendBallColor), 0);
  EXPECT_EQ(CountPixels(picture, picture.rect(), kTrendSummaryColor), 0);
}

TEST_F(TrendChartViewTest, ANewViewHasNoRows) {
  EXPECT_EQ(view.Rows().Count(), 0);
  EXPECT_TRUE(view.Chart().rows.empty());
  EXPECT_EQ(view.Chart().DrawRowCount(), 0);
}

}  // namespace
}  // namespace gui
