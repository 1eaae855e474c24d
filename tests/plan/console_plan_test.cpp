#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/command_line.h"
#include "app/console.h"
#include "plan/preset_formula_file.h"
#include "storage/ini_file.h"
#include "temp_dir.h"

namespace plan {
namespace {

// A position plan driven through the console only: rows
// inserted into the draw list, the newest issue shown, a start issue picked,
// the start button clicked.
TEST(ConsolePlan, PositionPlanThroughConsoleCommandsOnly) {
  TempDir dir;
  ASSERT_TRUE(
      storage::WriteIniKey(dir.path() / kPresetFileName, "1", "1", "68,67,67,42,54,53,55").ok());
  std::istringstream script(
      "insert 列表框_开奖 -1 20140301-030\\t52917\n"
      "insert 列表框_开奖 -1 20140301-029\\t60438\n"
      "insert 列表框_开奖 -1 20140301-028\\t13579\n"
      "insert 列表框_开奖 -1 20140301-027\\t88210\n"
      "insert 列表框_开奖 -1 20140301-026\\t47302\n"
      "insert 列表框_开奖 -1 20140301-025\\t95161\n"
      "insert 列表框_开奖 -1 20140301-024\\t38149\n"
      "insert 列表框_开奖 -1 20140301-023\\t20486\n"
      "set 透明标签_显示期号 20140301-030\n"
      "additem 组合框_定位起始期1 20140301-026\n"
      "additem 组合框_定位起始期1 20140301-025\n"
      "select 组合框_定位起始期1 1\n"
      "click 按钮_定位开始\n"
      "text 编辑框_后一结果\n"
      "text 标签_后一显示\n"
      "text 超级按钮_后一1\n"
      "text 超级按钮_后一2\n"
      "quit\n");
  std::ostringstream out;
  app::Options options;
  options.dataDir = dir.path();
  options.console = true;
  options.noStart = true;
  EXPECT_EQ(app::RunConsoleSession(options, script, out), 0) << out.str();
  EXPECT_EQ(out.str(),
            "025—027后一定位胆（01348）025期 开 1中了\\r\\n"
            "026—028后一定位胆（14678）028期 开 9错了\\r\\n"
            "029—031后一定位胆（01235）等待【3】\\r\\n"
            "\\r\\n"
            "一共2期计划 对1期 错1期 准确率 50%\n"
            "定位胆后一 3期 5码  [1]\n"
            "定位胆50%\n"
            "定位胆0%\n");
}

}  // namespace
}  // namespace plan
