// The real program's 回测 page: a history imported into the archive, the three
// kinds run over it, the rows read back and saved as presets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "child_process/child_process.h"
#include "plan/preset_formula_file.h"
#include "temp_dir.h"

namespace {

const std::filesystem::path kBin = LANZHOU_TEST_BIN_DIR;

class BacktestConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream out(dir.path() / "history.csv");
    std::mt19937 random(11);
    for (int day = 1; day <= 3; ++day) {
      for (int sequence = 1; sequence <= 120; ++sequence) {
        char line[32];
        std::snprintf(line, sizeof line, "202403%02d-%03d,%05u\n", day, sequence,
                      static_cast<unsigned>(random() % 100000));
        out << line;
      }
    }
  }

  ChildProcess Console() {
    return ChildProcess({(kBin / "lanzhou").string(), "--console", "--no-start", "--data-dir",
                         dir.path().string()});
  }

  TempDir dir;
};

int Number(const std::string& text) { return std::atoi(text.c_str()); }

TEST_F(BacktestConsoleTest, EveryKindListsRankedRowsWhoseFiguresAddUp) {
  ChildProcess console = Console();
  ASSERT_TRUE(console.started());
  console.WriteLine("set 编辑框_号码文件 " + (dir.path() / "history.csv").string());
  console.WriteLine("click 超级按钮_导入号码");
  ASSERT_EQ(console.Ask("text 标签_号码库"), "imported 360, unchanged 0, conflicts 0, rejected 0");
  console.WriteLine("select 组合框_回测公式 2");  // 自定义
  console.WriteLine("set 编辑框_回测公式 DCC*657\\r\\n\\r\\nCED-762\\r\\nAB\\r\\n");

  for (const char* radio : {"单选框_回测定位", "单选框_回测二星", "单选框_回测三星"}) {
    SCOPED_TRACE(radio);
    console.WriteLine(std::string("click ") + radio);
    console.WriteLine("click 超级按钮_开始回测");
    EXPECT_EQ(console.Ask("text 标签_回测进度").rfind("完成 3 个公式，用时 ", 0), 0u);
    EXPECT_EQ(console.Ask("text 进度条_回测"), "100%");
    ASSERT_EQ(console.Ask("count 超级列表框_回测"), "3");
    int previousRate = 101;
    for (int row = 0; row < 3; ++row) {
      auto cell = [&](int column) {
        return console.Ask("cell 超级列表框_回测 " + std::to_string(row) + " " +
                           std::to_string(column));
      };
      EXPECT_EQ(cell(0), std::to_string(row + 1));
      const int plans = Number(cell(2)), hits = Number(cell(3)), misses = Number(cell(4));
      EXPECT_EQ(hits + misses, plans);
      const int rate = plans == 0 ? 0 : hits * 100 / plans;
      EXPECT_EQ(cell(5), std::to_string(rate) + "%");
      EXPECT_LE(rate, previousRate) << "ranked by 概率";
      previousRate = rate;
      EXPECT_LE(Number(cell(6)), hits);
      EXPECT_LE(Number(cell(7)), misses);
    }
  }
  // A click on 公式 sorts the texts ascending and numbers the rows again.
  console.WriteLine("event 超级列表框_回测 header 1");
  EXPECT_EQ(console.Ask("cell 超级列表框_回测 0 1"), "AB");
  EXPECT_EQ(console.Ask("cell 超级列表框_回测 0 0"), "1");
  EXPECT_EQ(console.Ask("cell 超级列表框_回测 2 1"), "DCC*657");
  console.WriteLine("quit");
}

TEST_F(BacktestConsoleTest, LinesOfBlanksInTheOwnFormulasAreNoFormulas) {
  ChildProcess console = Console();
  ASSERT_TRUE(console.started());
  console.WriteLine("set 编辑框_号码文件 " + (dir.path() / "history.csv").string());
  console.WriteLine("click 超级按钮_导入号码");
  console.WriteLine("select 组合框_回测公式 2");
  console.WriteLine("set 编辑框_回测公式 DCC*657\\r\\n   \\r\\n\\t\\r\\nAB\\r\\n \\t ");
  console.WriteLine("click 超级按钮_开始回测");
  EXPECT_EQ(console.Ask("text 标签_回测进度").rfind("完成 2 个公式，用时 ", 0), 0u);
  ASSERT_EQ(console.Ask("count 超级列表框_回测"), "2");
  console.WriteLine("event 超级列表框_回测 header 1");
  EXPECT_EQ(console.Ask("cell 超级列表框_回测 0 1"), "AB");
  EXPECT_EQ(console.Ask("cell 超级列表框_回测 1 1"), "DCC*657");
  console.WriteLine("quit");
}

TEST_F(BacktestConsoleTest, SavingTheListMakesItsFormulasThePresetsOfTheKind) {
  ChildProcess console = Console();
  ASSERT_TRUE(console.started());
  console.WriteLine("set 编辑框_号码文件 " + (dir.path() / "history.csv").string());
  console.WriteLine("click 超级按钮_导入号码");
  console.WriteLine("select 组合框_回测公式 2");
  console.WriteLine("set 编辑框_回测公式 DCC*657\\nAB");
  console.WriteLine("click 超级按钮_开始回测");
  console.WriteLine("event 超级列表框_回测 header 1");
  console.WriteLine("click 超级按钮_回测存预设");
  console.WriteLine("quit");
  console.ReadLine(2000);  // the end of its output: the program has quit
  const plan::PresetFormulas presets =
      plan::LoadPresetFormulas(dir.path(), plan::PlanKind::Position);
  EXPECT_EQ(presets[0], "AB");
  EXPECT_EQ(presets[1], "DCC*657");
}

}  // namespace
