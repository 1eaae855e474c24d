// The formula search end to end through the real `lanzhou --console`: the
// draw list and start combos filled by commands, a small library file, each
// kind searched, listed, sorted into gs.ini and a formula used.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lanzhou_program.h"
#include "plan/draw.h"
#include "plan/preset_formula_file.h"
#include "search/candidate_score.h"
#include "sqlite_fixture.h"
#include "storage/ini_file.h"
#include "temp_dir.h"

namespace search {
namespace {

using Texts = std::vector<std::string>;

struct Outcome {
  int status = -1;
  Texts lines;
};

class SearchConsole : public ::testing::Test {
 protected:
  void SetUp() override {
    program = LanzhouProgram();
    ASSERT_TRUE(std::filesystem::exists(program)) << program;

    std::uint32_t x = 2014;
    for (int i = 0; i < kDraws; ++i) {
      x = x * 1103515245u + 12345u;
      char digits[6];
      std::snprintf(digits, sizeof digits, "%05u", (x >> 8) % 100000);
      char issue[16];
      std::snprintf(issue, sizeof issue, "20140301-%03d", kDraws - i);
      history.push_back({issue, digits});
    }
    std::string sql = "BEGIN; CREATE TABLE records (编号 INTEGER, 定位公式 TEXT);";
    for (std::size_t i = 0; i < library.size(); ++i) {
      sql += "INSERT INTO records VALUES (" + std::to_string(i) + ", '" + library[i] + "');";
    }
    RunSql(data.path() / "gssjj.dll", sql + "COMMIT;");
    RunSql(data.path() / "jhgsj.dll",
           "CREATE TABLE records (a TEXT, b TEXT, c TEXT); INSERT INTO records VALUES "
           "('x', 'y', 'z');");
  }

  // The draw list, the four start combos at kStart, 100 candidates, the
  // threshold.
  std::string Setup(int threshold) const {
    std::string script;
    for (const auto& draw : history) {
      script += "insert 列表框_开奖 -1 " + draw.issue + "\\t" + draw.code + "\n";
    }
    for (const char* combo :
         {"组合框_搜起始期", "组合框_定位起始期1", "组合框_二星起始期1", "组合框_三星起始期1"}) {
      for (const auto& draw : history)
        script += std::string("additem ") + combo + " " + draw.issue + "\n";
      script += std::string("select ") + combo + " " + std::to_string(kStart) + "\n";
    }
    return script + "select 组合框_搜索条数 0\nselect 组合框_搜概率 " +
           std::to_string(threshold / 10 - 1) + "\n";
  }

  Outcome Run(const std::string& script) {
    const auto input = work.path() / "script.txt";
    const auto output = work.path() / "output.txt";
    std::ofstream(input, std::ios::binary) << script << "quit\n";
    const std::string command = "cd '" + work.path().string() + "' && '" + program.string() +
                                "' --console --no-start --data-dir '" + data.path().string() +
                                "' < '" + input.string() + "' > '" + output.string() +
                                "' 2>/dev/null";
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(output, std::ios::binary);
    for (std::string line; std::getline(in, line);) outcome.lines.push_back(line);
    return outcome;
  }

  // Rows a one-by-one search lists: candidates reaching the threshold, in
  // library order; the library holds fewer than the 100 of the count box, and
  // only its own records are candidates.
  std::vector<Texts> Expected(const SearchSettings& settings, int threshold) const {
    const Texts& candidates = library;
    const auto source = plan::BuildPlanSource(history, history[kStart].issue);
    std::vector<Texts> rows;
    for (const auto& f : candidates) {
      const int rate = RatePercent(ScoreCandidatePlain(source, settings, f));
      if (rate >= threshold)
        rows.push_back({std::to_string(rows.size() + 1), f, std::to_string(rate) + "%"});
    }
    return rows;
  }

  static constexpr int kDraws = 80;
  static constexpr int kStart = 50;
  TempDir data, work;
  std::filesystem::path program;
  std::vector<lottery::Draw> history;
  const Texts library{"DCC*657", "CED-762", "CEE+741", "AB",      "EEA+354", "BEB+065",
                      "ECC-733", "AAD*868", "EDA-673", "DDE*241", "E",       "ABC+1",
                      "BCD*20",  "CDE-300", "AE+77",   "DA*5",    "EC-91",   "BB+88"};
};

TEST_F(SearchConsole, EveryKindSearchesSortsSavesAndUsesAFormula) {
  const struct {
    const char* radio;  // search kind
    int play;           // item of 组合框_搜玩发2 chosen after the kind, -1 keeps its default
    SearchSettings settings;
    int presetPage;  // 高级选择夹_那星 at the sort
    int planTab;     // 高级选择夹_计划总 after the use
    int threshold;   // 组合框_搜概率
  } cases[] = {
      // The position search follows the position plan: 5 codes, 3 periods, 个.
      {"单选框_搜定位", -1, {plan::PlanKind::Position, 5, 3, 5, plan::kMethodDigits}, 0, 0, 90},
      {"单选框_搜定位", 3, {plan::PlanKind::Position, 5, 3, 5, 3}, 0, 0, 90},
      // The star kinds take their plan tab's 8 codes and 3 periods.
      {"单选框_搜二星", -1, {plan::PlanKind::TwoStar, 8, 3, 0, plan::kTwoStarGroup}, 1, 1, 90},
      {"单选框_搜二星", plan::kTwoStarStraight, {plan::PlanKind::TwoStar, 8, 3, 0, 8}, 2, 1, 100},
      {"单选框_搜三星", -1, {plan::PlanKind::ThreeStar, 8, 3, 0, plan::kThreeStarGroup}, 2, 2, 90},
      {"单选框_搜三星",
       plan::kThreeStarStraight,
       {plan::PlanKind::ThreeStar, 8, 3, 0, 10},
       0,
       2,
       90},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.radio) + " play " + std::to_string(c.settings.play));
    const std::vector<Texts> expected = Expected(c.settings, c.threshold);
    ASSERT_FALSE(expected.empty());
    ASSERT_LT(expected.size(), 100u);  // the threshold matters

    std::string script = Setup(c.threshold) + "click " + c.radio + "\n";
    if (c.play >= 0) script += "select 组合框_搜玩发2 " + std::to_string(c.play) + "\n";
    script += "click 按钮_搜开始\n";
    script += "text 标签_搜索提示\nenabled 按钮_搜公式排序\nenabled 按钮_搜开始\n";
    script += "index 组合框_搜玩发2\nindex 组合框_搜码数\nindex 组合框_搜期数\n";
    script += "count 超级列表框_搜索\n";
    auto cells = [&](std::size_t rows) {
      for (std::size_t r = 0; r < rows; ++r) {
        for (int col = 0; col < 3; ++col) {
          script += "cell 超级列表框_搜索 " + std::to_string(r) + " " + std::to_string(col) + "\n";
        }
      }
    };
    cells(expected.size());
    script +=
        "setpage 高级选择夹_那星 " + std::to_string(c.presetPage) + "\nclick 按钮_搜公式排序\n";
    cells(expected.size());
    script += "setrow 超级列表框_搜索 0\nevent 超级列表框_搜索 rowclick\nclick 按钮_搜使用公式\n";
    script += "page 高级选择夹_计划总\n";

    const Outcome out = Run(script);
    ASSERT_EQ(out.status, 0);
    std::size_t at = 0;
    auto next = [&] { return at < out.lines.size() ? out.lines[at++] : std::string("<none>"); };
    EXPECT_EQ(next(), "");   // the busy text is gone
    EXPECT_EQ(next(), "1");  // sort enabled again
    EXPECT_EQ(next(), "1");  // start enabled again
    EXPECT_EQ(next(), std::to_string(c.settings.play));
    EXPECT_EQ(next(), std::to_string(c.settings.codeCount - 1));
    EXPECT_EQ(next(), std::to_string(c.settings.periods - 1));
    EXPECT_EQ(next(), std::to_string(expected.size()));
    for (const auto& row : expected) {
      for (const auto& cell : row) EXPECT_EQ(next(), cell);
    }

    // Highest rate first, equal rates in list order, renumbered.
    std::vector<Texts> sorted = expected;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Texts& a, const Texts& b) {
      return std::stoi(a[2]) > std::stoi(b[2]);
    });
    for (std::size_t r = 0; r < sorted.size(); ++r) {
      EXPECT_EQ(next(), std::to_string(r + 1));
      EXPECT_EQ(next(), sorted[r][1]);
      EXPECT_EQ(next(), sorted[r][2]);
    }
    ASSERT_FALSE(sorted[0][1].empty());
    const std::string section = std::to_string(c.presetPage + 1);
    for (std::size_t r = 0; r < std::min<std::size_t>(sorted.size(), 10); ++r) {
      EXPECT_EQ(storage::ReadIniKey(data.path() / "gs.ini", section, std::to_string(r + 1), "-"),
                plan::EncodeFormulaText(sorted[r][1]).value())
          << r;
    }

    EXPECT_EQ(next(), std::to_string(c.planTab));
    EXPECT_EQ(at, out.lines.size());
    const char* fields[] = {"a", "b", "c"};
    EXPECT_EQ(QueryText(data.path() / "jhgsj.dll",
                        std::string("SELECT ") + fields[c.planTab] + " FROM records"),
              sorted[0][1]);
    std::filesystem::remove(data.path() / "gs.ini");
  }
}

}  // namespace
}  // namespace search
