// The plan pages' own formulas driven through the real `lanzhou --console`:
// 自定义 and 所用公式 on each kind, the refusal of an empty formula, the paired
// 自动更新 boxes, and a restart that reads them back from sz.ini.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "lanzhou_program.h"
#include "plan/preset_formula_file.h"
#include "storage/ini_file.h"
#include "temp_dir.h"

namespace plan {
namespace {

// A console script being written: actions print nothing, each query one line.
class Script {
 public:
  void Do(const std::string& command) { text_ += command + "\n"; }
  // The number of the output line that will answer the query.
  std::size_t Ask(const std::string& query) {
    Do(query);
    return answers_++;
  }
  const std::string& text() const { return text_; }
  std::size_t answers() const { return answers_; }

 private:
  std::string text_;
  std::size_t answers_ = 0;
};

struct Kind {
  std::string startButton;
  std::string straightRadio;
  std::string startCombo;
  std::string ownCheck;
  std::string formulaBox;
  std::string resultBox;
  std::string caption;
  std::string pageBox;
  std::string firstPreset;
  std::string runCaption;  // the output caption before the preset part
  std::string oneKeyRefresh;
  std::string pageRefresh;
};

const std::vector<Kind> kKinds = {
    {"按钮_定位开始", "单选框_个", "组合框_定位起始期1", "选择框_定位自定义公式", "编辑框_定位公式",
     "编辑框_后一结果", "标签_后一显示", "编辑框_定位公式1", "超级按钮_后一1", "定位胆后一 3期 5码",
     "选择框_定位更新", "选择框_定位自动更新"},
    {"按钮_二星开始", "单选框_后二直选复试", "组合框_二星起始期1", "选择框_二星自定义公式",
     "编辑框_二星公式", "编辑框_后二结果", "标签_后二显示", "编辑框_二星公式1", "超级按钮_后二1",
     "后二直选复式 3期 8码", "选择框_后二更新", "选择框_二星自动更新"},
    {"按钮_三星开始", "单选框_后三直选复试", "组合框_三星起始期1", "选择框_三星自定义公式",
     "编辑框_三星公式", "编辑框_后三结果", "标签_后三显示", "编辑框_三星公式1", "超级按钮_后三1",
     "后三直选复式 3期 8码", "选择框_后三更新", "选择框_三星自动更新"},
};

const std::vector<std::string> kHistory = {
    "20140301-030\\t52917", "20140301-029\\t60438", "20140301-028\\t13579", "20140301-027\\t88210",
    "20140301-026\\t47302", "20140301-025\\t95161", "20140301-024\\t38149", "20140301-023\\t20486",
};

// The draws, the newest issue shown and 20140301-025 as every start issue
// (the search's too), with the straight plays of the worked examples.
void LoadHistory(Script& script) {
  for (const std::string& row : kHistory) script.Do("insert 列表框_开奖 -1 " + row);
  script.Do("set 透明标签_显示期号 20140301-030");
  for (const char* combo :
       {"组合框_定位起始期1", "组合框_二星起始期1", "组合框_三星起始期1", "组合框_搜起始期"}) {
    for (const std::string& row : kHistory) {
      script.Do(std::string("additem ") + combo + " " + row.substr(0, row.find('\\')));
    }
    script.Do(std::string("select ") + combo + " 5");
  }
  for (const Kind& kind : kKinds) script.Do("click " + kind.straightRadio);
}

class OwnFormulaConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(LanzhouProgram())) << LanzhouProgram();
    // The start-up refresh fails at once, whatever runs on this machine.
    ASSERT_TRUE(base::WriteFileAtomically(dir.path() / "sources.ini",
                                          "[sources]\r\nhistory=http://127.0.0.1:1\r\n"
                                          "feed1=http://127.0.0.1:1\r\nfeed2=http://127.0.0.1:1\r\n"
                                          "video=http://127.0.0.1:1\r\n"
                                          "announcement=http://127.0.0.1:1/\r\n")
                    .ok());
  }

  void StoreFirstPresets(const std::string& formula) {
    for (const char* kind : {"1", "2", "3"}) {
      ASSERT_TRUE(storage::WriteIniKey(dir.path() / kPresetFileName, kind, "1",
                                       EncodeFormulaText(formula).value())
                      .ok());
    }
  }

  // Runs the program on the script; its output lines.
  std::vector<std::string> Run(const std::string& arguments, const Script& script) {
    const auto input = dir.path() / "script.txt";
    const auto output = dir.path() / "output.txt";
    std::ofstream(input, std::ios::binary) << script.text() << "quit\n";
    const std::string command = "cd '" + dir.path().string() + "' && '" +
                                LanzhouProgram().string() + "' --console --data-dir '" +
                                dir.path().string() + "' " + arguments + " < '" + input.string() +
                                "' > '" + output.string() + "' 2>/dev/null";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << raw;
    std::vector<std::string> lines;
    std::ifstream in(output, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    EXPECT_EQ(lines.size(), script.answers());
    lines.resize(script.answers());
    return lines;
  }

  TempDir dir;
};

TEST_F(OwnFormulaConsoleTest, OwnFormulaPlansRefusalPairedRefreshAndARestart) {
  const std::string own = "DCC*657";
  StoreFirstPresets("CEE+741");

  // First run: each kind with preset 1, then with its own formula, then with
  // the formula emptied.
  struct Asked {
    std::size_t presetFormula, presetReport, ownReport, ownCaption, ownPage, refusedCaption,
        refusedReport, refusedPage;
  };
  Script first;
  LoadHistory(first);
  std::vector<Asked> asked;
  for (const Kind& kind : kKinds) {
    Asked a{};
    first.Do("click " + kind.startButton);
    a.presetFormula = first.Ask("text " + kind.formulaBox);
    a.presetReport = first.Ask("text " + kind.resultBox);
    first.Do("click " + kind.ownCheck);
    first.Do("set " + kind.formulaBox + " " + own);
    first.Do("click " + kind.startButton);
    a.ownReport = first.Ask("text " + kind.resultBox);
    a.ownCaption = first.Ask("text " + kind.caption);
    a.ownPage = first.Ask("text " + kind.pageBox);
    first.Do("set " + kind.formulaBox);
    first.Do("click " + kind.startButton);
    a.refusedCaption = first.Ask("text " + kind.caption);
    a.refusedReport = first.Ask("text " + kind.resultBox);
    a.refusedPage = first.Ask("text " + kind.pageBox);
    first.Do("set " + kind.formulaBox + " " + own);
    asked.push_back(a);
  }
  // A formula used from the search runs the position plan: the own formula
  // still shows.
  first.Do("set 编辑框_后一结果");
  first.Do("insert 超级列表框_搜索 -1 1\\tABE+12\\t90%");
  first.Do("setrow 超级列表框_搜索 0");
  first.Do("event 超级列表框_搜索 rowclick");
  first.Do("click 按钮_搜使用公式");
  const std::size_t searchReport = first.Ask("text 编辑框_后一结果");
  const std::size_t searchCaption = first.Ask("text 标签_后一显示");
  // The paired 自动更新 boxes, left checked for the position and three-star
  // kinds and unchecked for the two-star kind.
  std::vector<std::vector<std::size_t>> paired;
  for (const Kind& kind : kKinds) {
    std::vector<std::size_t> states;
    for (const std::string& box : {kind.oneKeyRefresh, kind.pageRefresh, kind.pageRefresh}) {
      first.Do("click " + box);
      states.push_back(first.Ask("checked " + kind.oneKeyRefresh));
      states.push_back(first.Ask("checked " + kind.pageRefresh));
    }
    if (kind.oneKeyRefresh == "选择框_后二更新") first.Do("click " + kind.pageRefresh);
    paired.push_back(states);
  }
  first.Do("click 超级按钮_保存设置");
  const std::vector<std::string> out1 = Run("--no-start", first);

  for (std::size_t k = 0; k < kKinds.size(); ++k) {
    const Kind& kind = kKinds[k];
    const Asked& a = asked[k];
    SCOPED_TRACE(kind.startButton);
    EXPECT_EQ(out1[a.presetFormula], "CEE+741");
    EXPECT_NE(out1[a.ownReport], out1[a.presetReport]);
    EXPECT_TRUE(out1[a.ownReport].starts_with("025—02")) << out1[a.ownReport];
    EXPECT_EQ(out1[a.ownCaption], kind.runCaption + "  [自定义]");
    EXPECT_EQ(out1[a.ownPage], out1[a.ownReport]);
    EXPECT_EQ(out1[a.refusedCaption], "请填写公式");
    EXPECT_EQ(out1[a.refusedReport], out1[a.ownReport]);
    EXPECT_EQ(out1[a.refusedPage], out1[a.ownReport]);
    const std::vector<std::string> states = {"1", "1", "0", "0", "1", "1"};
    for (std::size_t i = 0; i < states.size(); ++i) {
      EXPECT_EQ(out1[paired[k][i]], states[i]) << "after click " << i / 2 + 1;
    }
  }
  EXPECT_EQ(out1[searchReport], out1[asked[0].ownReport]);
  EXPECT_EQ(out1[searchCaption], "定位胆后一 3期 5码  [自定义]");

  // A restart with the own formula stored as preset 1 instead: 自定义,
  // 所用公式 and 自动更新 come back from sz.ini, the own formula's plans come
  // back, and with 自定义 unchecked preset 1 gives exactly the same report.
  StoreFirstPresets(own);
  Script second;
  struct Restored {
    std::size_t ownCheck, formula, oneKeyRefresh, pageRefresh, ownReport, ownCaption, presetReport,
        presetCaption, presetFormula;
  };
  std::vector<Restored> restored;
  for (const Kind& kind : kKinds) {
    restored.push_back({second.Ask("checked " + kind.ownCheck),
                        second.Ask("text " + kind.formulaBox),
                        second.Ask("checked " + kind.oneKeyRefresh),
                        second.Ask("checked " + kind.pageRefresh), 0, 0, 0, 0, 0});
  }
  LoadHistory(second);
  for (std::size_t k = 0; k < kKinds.size(); ++k) {
    const Kind& kind = kKinds[k];
    second.Do("click " + kind.startButton);
    restored[k].ownReport = second.Ask("text " + kind.resultBox);
    restored[k].ownCaption = second.Ask("text " + kind.caption);
    second.Do("click " + kind.ownCheck);
    second.Do("click " + kind.startButton);
    restored[k].presetReport = second.Ask("text " + kind.resultBox);
    restored[k].presetCaption = second.Ask("text " + kind.caption);
    restored[k].presetFormula = second.Ask("text " + kind.formulaBox);
  }
  const std::vector<std::string> out2 = Run("", second);

  for (std::size_t k = 0; k < kKinds.size(); ++k) {
    const Kind& kind = kKinds[k];
    const Restored& r = restored[k];
    SCOPED_TRACE(kind.startButton);
    const std::string refresh = kind.oneKeyRefresh == "选择框_后二更新" ? "0" : "1";
    EXPECT_EQ(out2[r.ownCheck], "1");
    EXPECT_EQ(out2[r.formula], own);
    EXPECT_EQ(out2[r.oneKeyRefresh], refresh);
    EXPECT_EQ(out2[r.pageRefresh], refresh);
    EXPECT_EQ(out2[r.ownReport], out1[asked[k].ownReport]);
    EXPECT_EQ(out2[r.ownCaption], kind.runCaption + "  [自定义]");
    EXPECT_EQ(out2[r.presetReport], out1[asked[k].ownReport]);
    EXPECT_EQ(out2[r.presetCaption], kind.runCaption + "  [1]");
    EXPECT_EQ(out2[r.presetFormula], own);
  }
}

}  // namespace
}  // namespace plan
