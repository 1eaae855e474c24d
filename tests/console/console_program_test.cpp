// Runs the real `lanzhou --console` as a process: the command line, exit
// status and start-up are what a script or bot talks to.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/codepage.h"
#include "lanzhou_program.h"
#include "temp_dir.h"
#include "ui/form.h"

namespace {

struct Outcome {
  int status = -1;
  std::vector<std::string> lines;
};

class ConsoleProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = LanzhouProgram();
    ASSERT_TRUE(std::filesystem::exists(program)) << program;
    // The start-up refresh must fail at once, whatever runs on this machine.
    ASSERT_TRUE(base::WriteFileAtomically(dir.path() / "sources.ini",
                                          "[sources]\r\nhistory=http://127.0.0.1:1\r\n"
                                          "feed1=http://127.0.0.1:1\r\nfeed2=http://127.0.0.1:1\r\n"
                                          "video=http://127.0.0.1:1\r\n"
                                          "announcement=http://127.0.0.1:1/\r\n")
                    .ok());
  }

  Outcome Run(const std::string& arguments, const std::string& script) {
    const auto input = dir.path() / "script.txt";
    const auto output = dir.path() / "output.txt";
    std::ofstream(input, std::ios::binary) << script;
    const std::string command = "cd '" + dir.path().string() + "' && '" + program.string() + "' " +
                                arguments + " < '" + input.string() + "' > '" + output.string() +
                                "' 2>/dev/null";
    int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(output, std::ios::binary);
    for (std::string line; std::getline(in, line);) outcome.lines.push_back(line);
    return outcome;
  }

  std::string DataArgs() const { return "--data-dir '" + dir.path().string() + "'"; }

  TempDir dir;
  std::filesystem::path program;
};

TEST_F(ConsoleProgramTest, NoStartAnswersTheFormValues) {
  struct Query {
    std::string command;
    std::string answer;
  };
  const std::vector<Query> table = {
      {"text 标签1", "开奖倒计时:"},
      {"text 超级按钮_更新号码", "更新号码"},
      {"text 超级按钮_保存设置", "保 存 设 置:"},
      {"text 编辑框_定位期数", "3"},
      {"text 编辑框_定位码数", "5"},
      {"text 编辑框_后二码数", "8"},
      {"text 编辑框_发送间阁", "2"},
      {"text 按钮_群发刷新", "<<刷 新 群 号"},
      {"text 按钮_开奖刷新江西", "江 西 开 奖"},
      {"text 标签_开奖载入提示", ""},
      {"text 单选框_后二复试", "后二组选"},
      {"text 超级按钮_后一10", "定位胆"},
      {"text 超级按钮_后三1", "后三"},
      {"checked 单选框_数据源1", "1"},
      {"checked 单选框_数据源2", "0"},
      {"checked 单选框_个", "1"},
      {"checked 单选框_万", "0"},
      {"checked 单选框_后三组选", "1"},
      {"checked 选择框_定位更新", "0"},
      {"checked 选择框_自动群发", "0"},
      {"selected 超级按钮_后一1", "1"},
      {"selected 超级按钮_后一2", "0"},
      {"selected 超级按钮_后二1", "1"},
      {"selected 超级按钮_后一", "1"},
      {"selected 超级按钮_后二", "0"},
      {"page 高级选择夹_总", "0"},
      {"page 高级选择夹_那星", "0"},
      {"page 高级选择夹_计划总", "0"},
      {"index 组合框_定位起始期1", "-1"},
      {"count 组合框_二星起始期1", "0"},
      {"count 列表框_开奖", "0"},
      {"interval 时钟_自动更新", "0"},
      {"interval 时钟_倒计时", "0"},
      {"picture 图片框3", "placeholder"},
      {"enabled 超级按钮_一键开启", "1"},
      {"clipboard", ""},
      {"lastmessage", ""},
  };
  std::string script;
  std::vector<std::string> expected;
  for (const auto& query : table) {
    script += query.command + "\n";
    expected.push_back(query.answer);
  }
  auto outcome = Run("--console --no-start " + DataArgs(), script);
  EXPECT_EQ(outcome.status, 0);
  ASSERT_EQ(outcome.lines.size(), expected.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(outcome.lines[i], expected[i]) << table[i].command;
  }
}

// Every control of the form, asked what its kind can answer, must come back
// with its form value through the process's standard output.
TEST_F(ConsoleProgramTest, NoStartAnswersEveryControlOfTheForm) {
  using ui::ControlKind;
  auto escape = [](const std::string& text) {
    std::string escaped;
    for (char c : text) {
      if (c == '\n') {
        escaped += "\\n";
      } else if (c == '\r') {
        escaped += "\\r";
      } else if (c == '\t') {
        escaped += "\\t";
      } else if (c == '\\') {
        escaped += "\\\\";
      } else {
        escaped += c;
      }
    }
    return escaped;
  };
  std::string script;
  std::vector<std::string> commands;
  std::vector<std::string> expected;
  auto ask = [&](const std::string& command, const std::string& answer) {
    script += command + "\n";
    commands.push_back(command);
    expected.push_back(answer);
  };
  for (const ui::ControlDefinition& entry : ui::MainForm()) {
    const std::string& n = entry.name;
    switch (entry.kind) {
      case ControlKind::Label:
      case ControlKind::TransparentLabel:
      case ControlKind::EditBox:
      case ControlKind::Button:
      case ControlKind::GroupBox:
        ask("text " + n, escape(entry.text));
        break;
      case ControlKind::ImageButton:
        ask("text " + n, escape(entry.text));
        ask("selected " + n, entry.toggle && entry.initiallySelected ? "1" : "0");
        ask("enabled " + n, "1");
        break;
      case ControlKind::CheckBox:
      case ControlKind::RadioBox:
        ask("text " + n, escape(entry.text));
        ask("checked " + n, entry.checked ? "1" : "0");
        break;
      case ControlKind::ComboBox: {
        std::string items;
        for (std::size_t i = 0; i < entry.items.size(); ++i) {
          items += (i ? "\t" : "") + entry.items[i];
        }
        ask("items " + n, escape(items));
        ask("index " + n, std::to_string(entry.selectedItem));
        ask("count " + n, std::to_string(entry.items.size()));
        break;
      }
      case ControlKind::ListView:
        ask("count " + n, "0");
        ask("currentrow " + n, "-1");
        break;
      case ControlKind::TrendChart:
        ask("count " + n, "0");
        break;
      case ControlKind::ProgressBar:
        ask("text " + n, "0%");
        break;
      case ControlKind::TabControl:
        ask("page " + n, "0");
        break;
      case ControlKind::Timer:
        ask("interval " + n, "0");
        break;
      case ControlKind::PictureBox:
        ask("picture " + n, "placeholder");
        break;
      case ControlKind::HtmlViewer:
        ask("address " + n, "");
        break;
      case ControlKind::Window:
      case ControlKind::Panel:
        break;
    }
  }
  ASSERT_GT(commands.size(), 200u);
  auto outcome = Run("--console --no-start " + DataArgs(), script);
  EXPECT_EQ(outcome.status, 0);
  ASSERT_EQ(outcome.lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(outcome.lines[i], expected[i]) << commands[i];
  }
}

TEST_F(ConsoleProgramTest, StartLoadsSettingsAndTheClockStartsWhereAsked) {
  ASSERT_TRUE(base::WriteFileAtomically(dir.path() / "sz.ini",
                                        *base::Utf8ToGbk("[2]\r\n7=假\r\n5=真\r\n[3]\r\n2=12\r\n"))
                  .ok());
  auto outcome = Run("--console --clock 2024-05-01T10:00:00 " + DataArgs(),
                     "checked 单选框_百\nchecked 单选框_个\ntext 编辑框_定位码数\nnow\n");
  EXPECT_EQ(outcome.status, 0);
  ASSERT_EQ(outcome.lines.size(), 4u);
  EXPECT_EQ(outcome.lines[0], "1");
  EXPECT_EQ(outcome.lines[1], "0");
  EXPECT_EQ(outcome.lines[2], "12");
  // The start-up pause moved the clock by one second at once.
  EXPECT_EQ(outcome.lines[3].substr(0, 18), "2024-05-01T10:00:0");
  EXPECT_GE(outcome.lines[3], "2024-05-01T10:00:01");
}

TEST_F(ConsoleProgramTest, NoStartIgnoresTheSettingsFile) {
  ASSERT_TRUE(base::WriteFileAtomically(dir.path() / "sz.ini", "[3]\r\n2=9\r\n").ok());
  auto outcome = Run("--console --no-start " + DataArgs(), "text 编辑框_定位码数\n");
  EXPECT_EQ(outcome.lines, (std::vector<std::string>{"5"}));
}

TEST_F(ConsoleProgramTest, SaveThenRestartRestores) {
  auto saved = Run("--console --no-start " + DataArgs(),
                   "click 单选框_数据源2\nset 编辑框_后三期数 \nclick 超级按钮_保存设置\nquit\n");
  EXPECT_EQ(saved.status, 0);
  EXPECT_TRUE(saved.lines.empty());
  auto restored = Run("--console " + DataArgs(),
                      "checked 单选框_数据源2\nchecked 单选框_数据源1\ntext 编辑框_后三期数\n");
  EXPECT_EQ(restored.lines, (std::vector<std::string>{"1", "0", ""}));
}

TEST_F(ConsoleProgramTest, AnErrorSetsTheExitStatusAndTheRunGoesOn) {
  auto outcome = Run("--console --no-start " + DataArgs(), "text 无此控件\ntext 标签1\n");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.lines,
            (std::vector<std::string>{"error: unknown control: 无此控件", "开奖倒计时:"}));
}

TEST_F(ConsoleProgramTest, BadCommandLinesAreRefused) {
  EXPECT_EQ(Run("--console --frobnicate", "").status, 2);
  EXPECT_EQ(Run("--console --data-dir '" + (dir.path() / "sources.ini").string() + "'", "").status,
            2);
  EXPECT_EQ(Run("--console --clock yesterday", "").status, 2);
  EXPECT_EQ(Run("--help", "").status, 0);
}

}  // namespace
