// `lanzhou --console --qt` on the real window: the trend page grabbed as a
// PNG shows red balls where the chart draws them.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "child_process/child_process.h"
#include "gui/trend_chart_view.h"
#include "temp_dir.h"

namespace {

const std::filesystem::path kBin = LANZHOU_TEST_BIN_DIR;

bool IsBallColour(QRgb pixel) {
  const QColor seen(pixel), ball(gui::kTrendBallColor);
  return std::abs(seen.red() - ball.red()) < 8 && std::abs(seen.green() - ball.green()) < 8 &&
         std::abs(seen.blue() - ball.blue()) < 8;
}

TEST(ConsoleGrab, TheTrendPageShowsItsBalls) {
  TempDir dir;
  {
    std::ofstream draws(dir.path() / "draws.csv");
    for (int sequence = 1; sequence <= 60; ++sequence) {
      char line[32];
      std::snprintf(line, sizeof line, "20240301-%03d,%05d\n", sequence, sequence * 1237 % 100000);
      draws << line;
    }
  }
  const auto png = dir.path() / "trend.png";
  setenv("LANZHOU_NO_WEBENGINE", "1", 1);
  ChildProcess console({(kBin / "lanzhou").string(), "--console", "--qt", "--no-start",
                        "--data-dir", dir.path().string()});
  ASSERT_TRUE(console.started());
  console.WriteLine("set 编辑框_号码文件 " + (dir.path() / "draws.csv").string());
  console.WriteLine("click 超级按钮_导入号码");
  console.WriteLine("setpage 高级选择夹_总 5");
  EXPECT_EQ(console.Ask("count 走势图_号码"), "54");
  console.WriteLine("grab " + png.string());
  EXPECT_EQ(console.Ask("text 标签_号码库"), "imported 60, unchanged 0, conflicts 0, rejected 0");

  QImage picture;
  ASSERT_TRUE(picture.load(QString::fromStdString(png.string())));
  EXPECT_EQ(picture.size(), QSize(912, 603));
  // The page shows some twenty of the fifty draw rows, each with its ball.
  int ballPixels = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) ballPixels += IsBallColour(picture.pixel(x, y));
  }
  EXPECT_GT(ballPixels, 20 * 50) << "about twenty balls of some fifty red pixels each";
  // In memory there is no picture to grab.
  ChildProcess memory(
      {(kBin / "lanzhou").string(), "--console", "--no-start", "--data-dir", dir.path().string()});
  EXPECT_EQ(memory.Ask("grab " + png.string()),
            "error: the window in memory has no picture; run the console with --qt");
}

}  // namespace
