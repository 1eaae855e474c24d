#include "app/console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace app {
namespace {

// Runs a script on a fresh window (handlers bound, creation handler not run)
// and returns its output lines.
class ConsoleTest : public ::testing::Test {
 protected:
  ConsoleTest() { program.Start(window, false); }

  std::vector<std::string> Run(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out;
    Console console(window, out);
    status = console.Run(in);
    std::vector<std::string> lines;
    std::istringstream result(out.str());
    for (std::string line; std::getline(result, line);) lines.push_back(line);
    return lines;
  }
  std::string One(const std::string& command) {
    auto lines = Run(command + "\n");
    EXPECT_EQ(lines.size(), 1u) << command;
    return lines.empty() ? "" : lines.front();
  }

  TempDir dir;
  ui::MemoryWindow window;
  Program program{dir.path(), dir.path()};
  int status = -1;
};

TEST(ConsoleEscapes, RoundTripAndRefuseUnknownOnes) {
  EXPECT_EQ(EscapeText("a\nb\rc\td\\e"), "a\\nb\\rc\\td\\\\e");
  EXPECT_EQ(UnescapeText("a\\nb\\rc\\td\\\\e").value(), "a\nb\rc\td\\e");
  EXPECT_EQ(UnescapeText("中文 text").value(), "中文 text");
  EXPECT_EQ(UnescapeText("\\\\n").value(), "\\n");
  EXPECT_FALSE(UnescapeText("bad\\x").ok());
  // A NUL is written as an escape, so an answer stays one line of text.
  EXPECT_EQ(EscapeText(std::string("a\0b", 3)), "a\\0b");
  EXPECT_EQ(UnescapeText("a\\0b").value(), std::string("a\0b", 3));
  EXPECT_FALSE(UnescapeText("trailing\\").ok());
}

TEST_F(ConsoleTest, QueriesAnswerOneLineActionsNothing) {
  auto lines =
      Run("text 标签1\n"
          "set 编辑框_后一结果 line one\\nline\\ttwo \\\\ end\n"
          "text 编辑框_后一结果\n"
          "checked 单选框_个\n"
          "index 组合框_定位起始期1\n"
          "additem 组合框_定位起始期1 20240101-001\n"
          "additem 组合框_定位起始期1 20240101-002\n"
          "select 组合框_定位起始期1 1\n"
          "index 组合框_定位起始期1\n"
          "items 组合框_定位起始期1\n"
          "count 组合框_定位起始期1\n"
          "clearitems 组合框_定位起始期1\n"
          "count 组合框_定位起始期1\n"
          "page 高级选择夹_总\n"
          "setpage 高级选择夹_总 3\n"
          "page 高级选择夹_总\n"
          "enabled 超级按钮_更新号码\n"
          "selected 超级按钮_后一1\n"
          "interval 时钟_自动更新\n"
          "address 超文本浏览框_开奖\n"
          "picture 图片框1\n"
          "clipboard\n"
          "setclipboard copied  with  spaces\n"
          "clipboard\n"
          "lastmessage\n");
  const std::vector<std::string> expected = {
      "开奖倒计时:",
      "line one\\nline\\ttwo \\\\ end",
      "1",
      "-1",
      "1",
      "20240101-001\\t20240101-002",
      "2",
      "0",
      "0",
      "3",
      "1",
      "1",
      "0",
      "",
      "placeholder",
      "",
      "copied  with  spaces",
      "",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(status, 0);
}

TEST_F(ConsoleTest, ListViewRowsAndCells) {
  auto lines =
      Run("insert 列表框_开奖 -1 20240101-002\\t12345\n"
          "insert 列表框_开奖 0 20240101-003\\t67890\n"
          "count 列表框_开奖\n"
          "cell 列表框_开奖 0 0\n"
          "cell 列表框_开奖 1 1\n"
          "currentrow 列表框_开奖\n"
          "setrow 列表框_开奖 1\n"
          "currentrow 列表框_开奖\n"
          "insert 列表框_开奖 -1 a\\tb\\tc\n"
          "count 列表框_开奖\n"
          "deleterows 列表框_开奖\n"
          "count 列表框_开奖\n");
  const std::vector<std::string> expected = {
      "2", "20240101-003", "12345", "-1", "1", "error: 列表框_开奖 has 2 columns, not 3", "2", "0",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(status, 1);
}

TEST_F(ConsoleTest, TypingObeysTheBoxAndSetDoesNot) {
  EXPECT_EQ(Run("type 编辑框_定位期数 a\n"
                "text 编辑框_定位期数\n"
                "set 编辑框_定位期数\n"
                "type 编辑框_定位期数 42\n"
                "text 编辑框_定位期数\n"
                "set 编辑框_定位期数 12\n"
                "text 编辑框_定位期数\n"),
            (std::vector<std::string>{"3", "4", "12"}));
  EXPECT_EQ(status, 0);
}

TEST_F(ConsoleTest, ClickCheckAndEvents) {
  EXPECT_EQ(Run("click 单选框_万\n"
                "checked 单选框_万\n"
                "checked 单选框_个\n"
                "check 选择框_定位更新 1\n"
                "checked 选择框_定位更新\n"
                "click 超级按钮_后一2\n"
                "selected 超级按钮_后一2\n"
                "event 超文本浏览框_开奖 progress 55\n"
                "text 标签_开奖载入提示\n"),
            (std::vector<std::string>{"1", "0", "1", "1", "已经加载：55%"}));
  EXPECT_EQ(status, 0);
}

TEST_F(ConsoleTest, RowCheckBoxesChartsProgressAndHeaders) {
  int header = -1;
  window.Bind("超级列表框_回测", ui::Event::HeaderClick, [&](int column) { header = column; });
  EXPECT_EQ(Run("insert 超级列表框_群发 -1 1\\t群一\n"
                "checkrow 超级列表框_群发 0 1\n"
                "rowchecked 超级列表框_群发 0\n"
                "checkrow 超级列表框_群发 0 0\n"
                "rowchecked 超级列表框_群发 0\n"
                "insert 走势图_号码 -1 20240101-001\\t13579\n"
                "count 走势图_号码\n"
                "cell 走势图_号码 0 1\n"
                "items 走势图_号码\n"
                "text 进度条_回测\n"
                "event 超级列表框_回测 header 6\n"),
            (std::vector<std::string>{
                "1", "0", "1", "13579",
                "期号\\t奖号\\t0\\t1\\t2\\t3\\t4\\t5\\t6\\t7\\t8\\t9\\t大小\\t单双", "0%"}));
  EXPECT_EQ(header, 6);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(One("checkrow 超级列表框_群发 0 2"), "error: checkrow wants 0 or 1, not 2");
  EXPECT_EQ(One("grab /tmp/lanzhou-window.png"),
            "error: the window in memory has no picture; run the console with --qt");
}

TEST_F(ConsoleTest, ClockWaitAndTimers) {
  window.Bind("时钟1", ui::Event::Tick, [&](int) { window.AppendText("编辑框_后一结果", "t"); });
  EXPECT_EQ(Run("clock 2024-05-01T09:59:58\n"
                "now\n"
                "wait 1500\n"
                "now\n"
                "tick 时钟1\n"
                "text 编辑框_后一结果\n"),
            (std::vector<std::string>{"2024-05-01T09:59:58", "2024-05-01T09:59:59", "t"}));
  // A running timer ticks as the waited clock time passes.
  window.SetInterval("时钟1", 1000);
  EXPECT_EQ(Run("wait 3000\ntext 编辑框_后一结果\n"), (std::vector<std::string>{"tttt"}));
}

TEST_F(ConsoleTest, SaveButtonThroughTheConsole) {
  Run("click 单选框_数据源2\nclick 超级按钮_保存设置\n");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "sz.ini"));
  EXPECT_EQ(status, 0);
}

TEST_F(ConsoleTest, ErrorsAreOneLineAndTheConsoleGoesOn) {
  struct Case {
    std::string command;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"bogus", "error: unknown command: bogus"},
      {"text", "error: usage: text NAME"},
      {"text 无此控件", "error: unknown control: 无此控件"},
      {"text 编辑框_定位期数 x", "error: unknown control: 编辑框_定位期数 x"},
      {"cell 列表框_开奖 0", "error: usage: cell NAME ROW COL"},
      {"cell 列表框_开奖 zero 0", "error: ROW is not a number: zero"},
      {"check 选择框_定位更新 2", "error: check wants 0 or 1, not 2"},
      {"select 组合框_定位起始期1 1x", "error: INDEX is not a number: 1x"},
      {"select 组合框_定位起始期1 99999999999", "error: INDEX is out of range: 99999999999"},
      {"set 编辑框_定位期数 a\\q", "error: unknown escape \\\\q"},
      {"event 超文本浏览框_开奖 load",
       "error: unknown event: load (progress N, header COL, rowclick, activate)"},
      {"event 超文本浏览框_开奖 progress", "error: N is not a number: "},
      {"event 列表框_开奖 rowclick 3", "error: rowclick takes no argument"},
      {"tick 标签1", "error: 标签1 is not a timer"},
      {"count 标签1", "error: 标签1 is neither a combo box nor a list view"},
      {"insert 标签1 -1 a", "error: 标签1 is not a list view"},
      {"clock 2024-05-01 10:00:00", "error: not a time YYYY-MM-DDTHH:MM:SS: 2024-05-01 10:00:00"},
      {"wait -1", "error: MS must be 0 to 86400000"},
      {"wait 86400001", "error: MS must be 0 to 86400000"},
      {"now please", "error: now takes no argument"},
      {"clipboard ", "error: clipboard takes no argument"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.command + "\ntext 标签1\n"), (std::vector<std::string>{c.error, "开奖倒计时:"}))
        << c.command;
    EXPECT_EQ(status, 1) << c.command;
  }
}

TEST_F(ConsoleTest, WindowRefusalsBecomeErrorsNotCrashes) {
  // Wrong kinds and out-of-range indexes are the window's to refuse; each
  // must come back as exactly one error line.
  const std::vector<std::string> commands = {
      "checked 标签1",     "index 编辑框_定位期数",
      "items 列表框_开奖", "page 标签1",
      "interval 标签1",    "picture 标签1",
      "address 标签1",     "text 图片框1",
      "selected 标签1",    "setpage 高级选择夹_总 9",
      "check 标签1 1",     "type 标签1 x",
      "set 列表框_开奖 x", "additem 编辑框_定位期数 x",
  };
  for (const auto& command : commands) {
    auto lines = Run(command + "\n");
    ASSERT_EQ(lines.size(), 1u) << command;
    EXPECT_EQ(lines[0].rfind("error: ", 0), 0u) << command << " -> " << lines[0];
  }
}

TEST_F(ConsoleTest, BlankLinesCarriageReturnsAndQuit) {
  EXPECT_EQ(Run("\n\r\ntext 标签1\r\nquit\ntext 标签1\n"),
            (std::vector<std::string>{"开奖倒计时:"}));
  EXPECT_EQ(status, 0);
}

TEST_F(ConsoleTest, ParseCutsArgumentsAndChangesNothing) {
  struct Case {
    std::string line;
    std::vector<std::string> args;
  };
  const std::vector<Case> cases = {
      {"cell 列表框_开奖 3 4", {"列表框_开奖", "3", "4"}},
      {"set 编辑框_定位期数 a  b ", {"编辑框_定位期数", "a  b "}},
      {"set 编辑框_定位期数", {"编辑框_定位期数", ""}},
      {"set 编辑框_定位期数 ", {"编辑框_定位期数", ""}},
      {"insert 列表框_开奖 0 a b\\tc", {"列表框_开奖", "0", "a b\\tc"}},
      {"now", {}},
  };
  std::ostringstream out;
  Console console(window, out);
  for (const auto& c : cases) {
    auto parsed = console.Parse(c.line);
    ASSERT_TRUE(parsed.ok()) << c.line << ": " << parsed.error().message;
    EXPECT_EQ(parsed.value().word, c.line.substr(0, c.line.find(' '))) << c.line;
    EXPECT_EQ(std::vector<std::string>(parsed.value().args.begin(), parsed.value().args.end()),
              c.args)
        << c.line;
  }
  EXPECT_EQ(console.Parse("cell 列表框_开奖 0").error().message, "usage: cell NAME ROW COL");
  EXPECT_EQ(console.Parse("now please").error().message, "now takes no argument");
  EXPECT_EQ(window.Text("编辑框_定位期数"), ui::MemoryWindow().Text("编辑框_定位期数"));
  EXPECT_TRUE(out.str().empty());
}

TEST_F(ConsoleTest, InvalidUtf8IsRefused) {
  EXPECT_EQ(Run("set 编辑框_定位期数 \xff\xfe\n"),
            (std::vector<std::string>{"error: the line is not UTF-8"}));
}

}  // namespace
}  // namespace app
