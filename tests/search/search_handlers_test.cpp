#include "search/search_handlers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/area_states.h"
#include "lanzhou_test.h"
#include "lottery/lottery.h"
#include "plan/draw.h"
#include "plan/plan_page_reading.h"
#include "plan/preset_formula_file.h"
#include "search/candidate_score.h"
#include "sqlite_fixture.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace search {
namespace {

using lanzhou_test::ColumnTexts;
using lanzhou_test::ItemTexts;
using Texts = std::vector<std::string>;

constexpr const char* kList = "超级列表框_搜索";

class SearchHandlers : public ::testing::Test {
 protected:
  SearchHandlers()
      : ctx{states.MakeContext(window, data.path(), work.path(), lottery::Chongqing())} {
    BindSearchHandlers(ctx);
  }

  // A history of n draws, newest first, in the draw list and the four start
  // combos, the start issue at `start` rows below the newest.
  void LoadHistory(int n, int start) {
    std::uint32_t x = 12345;
    for (int i = 0; i < n; ++i) {
      x = x * 1103515245u + 12345u;
      char digits[6];
      std::snprintf(digits, sizeof digits, "%05u", (x >> 8) % 100000);
      char issue[16];
      std::snprintf(issue, sizeof issue, "20140301-%03d", n - i);
      const int row = window.InsertRow("列表框_开奖", -1);
      window.SetCell("列表框_开奖", row, 0, issue);
      window.SetCell("列表框_开奖", row, 1, digits);
      history.push_back({issue, digits});
    }
    for (const char* combo :
         {"组合框_搜起始期", "组合框_定位起始期1", "组合框_二星起始期1", "组合框_三星起始期1"}) {
      window.ClearItems(combo);
      for (const auto& draw : history) window.AddItem(combo, draw.issue);
      window.SetCurrentIndex(combo, start);
    }
    window.SetText("透明标签_显示期号", history[0].issue);
  }

  void WriteLibrary(const Texts& library) {
    std::string sql = "BEGIN; CREATE TABLE records (定位公式 TEXT);";
    for (const auto& f : library) sql += "INSERT INTO records VALUES ('" + f + "');";
    RunSql(data.path() / "gssjj.dll", sql + "COMMIT;");
  }

  void Select(const char* combo, const std::string& item) {
    const auto items = ItemTexts(window, combo);
    const auto at = std::find(items.begin(), items.end(), item);
    ASSERT_NE(at, items.end()) << item;
    window.SetCurrentIndex(combo, static_cast<int>(at - items.begin()));
  }

  // What the listed rows should be: candidates reaching the threshold, in
  // library order, numbered from 1. The candidates are the library's first
  // `count` records, fewer when it holds fewer.
  std::vector<Texts> Expected(Texts library, const SearchSettings& settings, int threshold,
                              const std::string& startIssue, std::size_t count = 200) {
    if (library.size() > count) library.resize(count);
    const SearchSource source(plan::BuildPlanSource(history, startIssue));
    std::vector<Texts> rows;
    for (const auto& f : library) {
      const int rate = RatePercent(ScoreCandidatePlain(source.draws(), settings, f));
      if (rate >= threshold) {
        rows.push_back({std::to_string(rows.size() + 1), f, std::to_string(rate) + "%"});
      }
    }
    return rows;
  }

  std::vector<Texts> Rows() {
    std::vector<Texts> rows;
    for (int r = 0; r < window.RowCount(kList); ++r) {
      rows.push_back(
          {window.Cell(kList, r, 0), window.Cell(kList, r, 1), window.Cell(kList, r, 2)});
    }
    return rows;
  }

  void SetRows(const std::vector<std::pair<std::string, std::string>>& rows) {
    window.DeleteAllRows(kList);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int row = window.InsertRow(kList, -1);
      window.SetCell(kList, row, 0, std::to_string(i + 1));
      window.SetCell(kList, row, 1, rows[i].first);
      window.SetCell(kList, row, 2, rows[i].second);
    }
  }

  std::string Preset(int kind, int key) {
    return storage::ReadIniKey(data.path() / "gs.ini", std::to_string(kind), std::to_string(key),
                               "<none>");
  }

  TempDir data, work;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx;
  std::vector<lottery::Draw> history;
  const Texts formulas{"DCC*657", "CED-762", "CEE+741", "",        "AB",     "EEA+354",
                       "BEB+065", "ECC-733", "AAD*868", "EDA-673", "DDE*241"};
};

TEST_F(SearchHandlers, PositionSearchFollowsThePositionPlanAndListsInLibraryOrder) {
  LoadHistory(60, 40);
  WriteLibrary(formulas);
  window.SetText("编辑框_定位码数", "");
  window.Type("编辑框_定位码数", "5");
  window.SetText("编辑框_定位期数", "");
  window.Type("编辑框_定位期数", "2");
  window.Click("单选框_百");
  Select("组合框_搜概率", "40%");
  ASSERT_TRUE(window.Checked("单选框_搜定位"));

  window.Click("按钮_搜开始");

  EXPECT_EQ(window.CurrentIndex("组合框_搜玩发1"), 2);
  EXPECT_EQ(window.ItemText("组合框_搜码数", window.CurrentIndex("组合框_搜码数")), "5码");
  EXPECT_EQ(window.ItemText("组合框_搜期数", window.CurrentIndex("组合框_搜期数")), "2期");
  const auto expected = Expected(formulas, {plan::PlanKind::Position, 5, 2, 3, plan::kMethodDigits},
                                 40, history[40].issue);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(Rows(), expected);
  EXPECT_CONTROL_TEXT(window, "标签_搜索提示", "");
  EXPECT_TRUE(window.Enabled("按钮_搜公式排序"));
  EXPECT_TRUE(window.Enabled("按钮_搜开始"));
  EXPECT_TRUE(window.Enabled("超级按钮_智能筛选"));
  EXPECT_FALSE(states.search.running);
  EXPECT_FALSE(states.search.stopRequested);
}

TEST_F(SearchHandlers, TwoAndThreeStarSearchesScoreTheirPlays) {
  LoadHistory(80, 70);
  WriteLibrary(formulas);
  Select("组合框_搜概率", "10%");
  window.Click("单选框_搜二星");  // 后二复式, 8 codes, 3 periods from the plan area
  window.Click("按钮_搜开始");
  EXPECT_EQ(Rows(), Expected(formulas, {plan::PlanKind::TwoStar, 8, 3, 0, plan::kTwoStarGroup}, 10,
                             history[70].issue));
  EXPECT_FALSE(Rows().empty());

  // 前二胆码 is never hit: nothing reaches even the lowest threshold.
  window.SetCurrentIndex("组合框_搜玩发2", 0);
  window.Click("按钮_搜开始");
  EXPECT_TRUE(Rows().empty());

  window.Click("单选框_后三直选复试");
  window.Click("单选框_搜三星");  // 后三直选复式
  ASSERT_EQ(window.CurrentIndex("组合框_搜玩发2"), plan::kThreeStarStraight);
  window.Click("按钮_搜开始");
  const auto expected =
      Expected(formulas, {plan::PlanKind::ThreeStar, 8, 3, 0, plan::kThreeStarStraight}, 10,
               history[70].issue);
  EXPECT_EQ(Rows(), expected);
  for (const auto& row : expected) EXPECT_NE(row[1], "");  // the empty candidate is skipped
}

TEST_F(SearchHandlers, MissingLibraryClearsTheListAndEmptyHistoryChangesNothing) {
  SetRows({{"X", "50%"}});
  states.search.stopRequested = true;
  window.Click("按钮_搜开始");  // no draw loaded
  EXPECT_EQ(window.RowCount(kList), 1);
  EXPECT_TRUE(states.search.stopRequested);
  EXPECT_TRUE(window.Enabled("按钮_搜公式排序"));
  EXPECT_CONTROL_TEXT(window, "标签_搜索提示", "");

  LoadHistory(30, 10);
  window.Click("按钮_搜开始");  // no gssjj.dll
  EXPECT_EQ(window.RowCount(kList), 0);
  EXPECT_FALSE(std::filesystem::exists(data.path() / "gssjj.dll"));
  EXPECT_FALSE(states.search.stopRequested);
}

TEST_F(SearchHandlers, ALibraryThatCannotBeReadIsNamedInTheHint) {
  LoadHistory(30, 10);
  const std::string unreadable = "无法读取公式库 gssjj.dll，没有公式可搜索";
  const std::vector<std::pair<std::string, std::function<void()>>> libraries = {
      {"missing", [] {}},
      {"not a database",
       [this] { std::ofstream(data.path() / "gssjj.dll") << std::string(5000, 'x'); }},
      {"without the formula column",
       [this] { RunSql(data.path() / "gssjj.dll", "CREATE TABLE records (其他 TEXT);"); }},
  };
  for (const auto& [name, make] : libraries) {
    std::filesystem::remove_all(data.path() / "gssjj.dll");
    make();
    SetRows({{"X", "50%"}});
    window.Click("按钮_搜开始");
    EXPECT_EQ(window.RowCount(kList), 0) << name;
    EXPECT_CONTROL_TEXT(window, "标签_搜索提示", unreadable) << name;
    EXPECT_TRUE(window.Enabled("按钮_搜公式排序")) << name;
    EXPECT_TRUE(window.Enabled("按钮_搜开始")) << name;
  }
  // A search that can read its library takes the words away.
  std::filesystem::remove_all(data.path() / "gssjj.dll");
  WriteLibrary(formulas);
  window.Click("按钮_搜开始");
  EXPECT_CONTROL_TEXT(window, "标签_搜索提示", "");
}

TEST_F(SearchHandlers, RecordsPastTheEndOfTheLibraryAreNoCandidates) {
  // Five records (one empty) for the count of 200: the search scores five,
  // and the sort cannot save blanks over presets 6 to 10.
  LoadHistory(80, 60);
  const Texts five{"DCC*657", "", "CEE+741", "AB", "EDA-673"};
  WriteLibrary(five);
  Select("组合框_搜概率", "10%");
  ASSERT_EQ(plan::SelectedItem(window, "组合框_搜索条数"), "200");
  const auto stored = [this] {
    std::vector<std::string> presets;
    for (int key = 1; key <= 10; ++key) presets.push_back(Preset(1, key));
    return presets;
  };
  for (int key = 1; key <= 10; ++key) {
    ASSERT_TRUE(storage::WriteIniKey(data.path() / "gs.ini", "1", std::to_string(key),
                                     plan::EncodeFormulaText("ABC*" + std::to_string(key)).value())
                    .ok());
  }
  const auto before = stored();

  window.Click("按钮_搜开始");
  const auto expected = Expected(five, {plan::PlanKind::Position, 5, 3, 5, plan::kMethodDigits}, 10,
                                 history[60].issue);
  ASSERT_EQ(expected.size(), 5u);  // every record qualifies, the empty one too, as before
  EXPECT_EQ(Rows(), expected);

  window.SetCurrentPage("高级选择夹_那星", 0);
  window.Click("按钮_搜公式排序");
  const auto after = stored();
  for (int k = 5; k < 10; ++k) EXPECT_EQ(after[k], before[k]) << "preset " << k + 1;
  EXPECT_EQ(plan::LoadPresetFormulas(data.path(), plan::PlanKind::Position)[0], Rows()[0][1]);
}

TEST_F(SearchHandlers, ASortThatCannotSaveItsPresetsSaysWhy) {
  std::filesystem::create_directory(data.path() / "gs.ini");
  SetRows({{"DCC*657", "80%"}, {"CEE+741", "70%"}});
  window.Click("按钮_搜公式排序");
  EXPECT_EQ(ColumnTexts(window, kList, 1), (Texts{"DCC*657", "CEE+741"}));
  ASSERT_EQ(window.Messages().size(), 1u);
  const std::string& text = window.Messages()[0].text;
  EXPECT_NE(text.find((data.path() / "gs.ini").string()), std::string::npos) << text;
  EXPECT_NE(text.find("不是普通文件"), std::string::npos) << text;

  // A formula GBK cannot hold keeps its preset; the others are saved.
  std::filesystem::remove(data.path() / "gs.ini");
  SetRows({{"DCC*657", "80%"}, {"A\xf0\x9f\x98\x80", "70%"}, {"CEE+741", "60%"}});
  window.Click("按钮_搜公式排序");
  EXPECT_EQ(Preset(1, 1), plan::EncodeFormulaText("DCC*657").value());
  EXPECT_EQ(Preset(1, 2), "<none>");
  EXPECT_EQ(Preset(1, 3), plan::EncodeFormulaText("CEE+741").value());
  ASSERT_EQ(window.Messages().size(), 2u);
  EXPECT_NE(window.Messages()[1].text.find("预设 2"), std::string::npos)
      << window.Messages()[1].text;
}

TEST_F(SearchHandlers, StopEndsTheSearchAndNoSecondSearchStartsInsideIt) {
  LoadHistory(180, 170);
  Texts many;
  for (int i = 0; i < 5000; ++i) many.push_back(formulas[i % formulas.size()] + std::to_string(i));
  WriteLibrary(many);
  Select("组合框_搜索条数", "5000");
  Select("组合框_搜概率", "10%");

  // A timer ticking during the search plays the user: it tries a second
  // search and the smart filter, then stops.
  struct Seen {
    int ticks = 0;
    bool startEnabled = true, smartEnabled = true, sortEnabled = true;
    int rowsAtStop = -1;
  } seen;
  window.Bind("时钟1", ui::Event::Tick, [&](int) {
    if (++seen.ticks != 1 || !states.search.running) return;
    seen.startEnabled = window.Enabled("按钮_搜开始");
    seen.smartEnabled = window.Enabled("超级按钮_智能筛选");
    seen.sortEnabled = window.Enabled("按钮_搜公式排序");
    window.Click("按钮_搜开始");
    window.Click("超级按钮_智能筛选");
    seen.rowsAtStop = window.RowCount(kList);
    window.Click("按钮_搜停止");
  });
  window.SetInterval("时钟1", 1);
  window.Click("按钮_搜开始");
  window.SetInterval("时钟1", 0);

  ASSERT_GE(seen.rowsAtStop, 0) << "the search ended before the timer ticked";
  EXPECT_FALSE(seen.startEnabled);
  EXPECT_FALSE(seen.smartEnabled);
  EXPECT_FALSE(seen.sortEnabled);
  // Stopped between candidates: what is listed is the head of a full search,
  // the candidate being scored at the stop included at most.
  const auto rows = Rows();
  const auto full = Expected(many, {plan::PlanKind::Position, 5, 3, 5, plan::kMethodDigits}, 10,
                             history[170].issue, 5000);
  ASSERT_LT(rows.size(), full.size());
  EXPECT_LE(rows.size(), static_cast<std::size_t>(seen.rowsAtStop) + 1);
  EXPECT_EQ(rows, std::vector<Texts>(full.begin(), full.begin() + rows.size()));
  EXPECT_CONTROL_TEXT(window, "标签_搜索提示", "");
  EXPECT_TRUE(window.Enabled("按钮_搜开始"));
  EXPECT_TRUE(window.Enabled("超级按钮_智能筛选"));
  EXPECT_FALSE(states.search.stopRequested);
  EXPECT_FALSE(states.search.running);
}

TEST_F(SearchHandlers, SortIsStableRenumbersAndSavesByThePageOnShow) {
  SetRows({{"F40", "40%"}, {"F73a", "73%"}, {"F73b", "73%"}, {"F55", "55%"}});
  window.SetCurrentPage("高级选择夹_那星", 2);  // 三星, after a position search
  window.Click("按钮_搜公式排序");
  EXPECT_EQ(
      Rows(),
      (std::vector<Texts>{
          {"1", "F73a", "73%"}, {"2", "F73b", "73%"}, {"3", "F55", "55%"}, {"4", "F40", "40%"}}));
  EXPECT_EQ(plan::LoadPresetFormulas(data.path(), plan::PlanKind::ThreeStar)[0], "F73a");
  EXPECT_EQ(Preset(3, 4), plan::EncodeFormulaText("F40").value());
  EXPECT_EQ(Preset(1, 1), "<none>");
}

TEST_F(SearchHandlers, SortSavesAtMostTenAndKeepsTheKeysBeyond) {
  std::vector<std::pair<std::string, std::string>> fourteen;
  for (int i = 0; i < 14; ++i)
    fourteen.push_back({"F" + std::to_string(i), std::to_string(i) + "%"});
  SetRows(fourteen);
  window.SetCurrentPage("高级选择夹_那星", 0);
  window.Click("按钮_搜公式排序");
  const auto presets = plan::LoadPresetFormulas(data.path(), plan::PlanKind::Position);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(presets[k], "F" + std::to_string(13 - k));
  EXPECT_EQ(Preset(1, 11), "<none>");

  SetRows({{"甲A", "1%"}, {"B", "3%"}, {"C", ""}});
  window.Click("按钮_搜公式排序");
  EXPECT_EQ(ColumnTexts(window, kList, 1), (Texts{"B", "甲A", "C"}));
  const auto after = plan::LoadPresetFormulas(data.path(), plan::PlanKind::Position);
  EXPECT_EQ(after[0], "B");
  EXPECT_EQ(after[1], "甲A");
  EXPECT_EQ(after[2], "C");
  for (int k = 3; k < 10; ++k) EXPECT_EQ(after[k], presets[k]);

  // An empty list sorts nothing and writes nothing.
  window.DeleteAllRows(kList);
  std::filesystem::remove(data.path() / "gs.ini");
  window.Click("按钮_搜公式排序");
  EXPECT_FALSE(std::filesystem::exists(data.path() / "gs.ini"));
}

TEST_F(SearchHandlers, KindSelectionSetsBoxesPlaysAndDefaults) {
  SetRows({{"X", "50%"}});
  states.search.selectedResultRow = 0;
  window.Click("单选框_后二复试");
  window.SetText("编辑框_后二码数", "");
  window.Type("编辑框_后二码数", "6");
  window.Click("单选框_搜二星");
  EXPECT_EQ(ItemTexts(window, "组合框_搜玩发2"), ItemTexts(window, "组合框_二星选1"));
  EXPECT_EQ(window.ItemCount("组合框_搜玩发2"), 14);
  EXPECT_EQ(window.ItemText("组合框_搜玩发2", window.CurrentIndex("组合框_搜玩发2")), "后二复式");
  EXPECT_EQ(window.ItemText("组合框_搜码数", window.CurrentIndex("组合框_搜码数")), "6码");
  EXPECT_EQ(window.RowCount(kList), 0);
  EXPECT_EQ(states.search.selectedResultRow, -1);
  EXPECT_FALSE(window.Checked("单选框_搜定位"));

  const struct {
    const char* radio;
    bool bets1, bets2, position;
    int items;
    const char* play;
  } cases[] = {{"单选框_搜定位", false, false, true, 4, "定位胆"},
               {"单选框_搜二星", true, false, false, 14, "后二复式"},
               {"单选框_搜三星", false, true, false, 18, "后三复式"}};
  for (const auto& c : cases) {
    window.Click(c.radio);
    EXPECT_EQ(window.Enabled("组合框_搜注数1"), c.bets1) << c.radio;
    EXPECT_EQ(window.Enabled("组合框_搜注数2"), c.bets2) << c.radio;
    EXPECT_EQ(window.Enabled("组合框_搜玩发1"), c.position) << c.radio;
    EXPECT_TRUE(window.Enabled("组合框_搜玩发2"));
    EXPECT_EQ(window.ItemCount("组合框_搜玩发2"), c.items) << c.radio;
    EXPECT_EQ(window.ItemText("组合框_搜玩发2", window.CurrentIndex("组合框_搜玩发2")), c.play);
  }
  window.Click("单选框_后三直选复试");
  window.Click("单选框_搜三星");
  EXPECT_EQ(window.ItemText("组合框_搜玩发2", window.CurrentIndex("组合框_搜玩发2")),
            "后三直选复式");
  window.Click("单选框_搜定位");
  EXPECT_EQ(window.ItemText("组合框_搜码数", window.CurrentIndex("组合框_搜码数")), "4码");
  EXPECT_EQ(window.ItemText("组合框_搜期数", window.CurrentIndex("组合框_搜期数")), "4期");
}

TEST_F(SearchHandlers, ThreeStarActivationRecordsTheFormulaAndRunsThePlan) {
  LoadHistory(40, 20);
  RunSql(work.path() / "jhgsj.dll",
         "CREATE TABLE records (a TEXT, b TEXT, c TEXT);"
         "INSERT INTO records VALUES ('pos', 'two', 'three');");
  window.Click("单选框_搜三星");
  SetRows({{"DCC*657", "80%"}, {"CEE+741", "70%"}});
  window.SetCurrentIndex("组合框_搜注数2", 3);
  window.SetCurrentIndex("组合框_搜起始期", 5);
  window.SetCurrentRow(kList, 1);
  window.Fire(kList, ui::Event::RowActivate, 1);

  EXPECT_EQ(QueryText(work.path() / "jhgsj.dll", "SELECT a || '|' || b || '|' || c FROM records"),
            "pos|two|CEE+741");
  EXPECT_EQ(window.CurrentPage("高级选择夹_计划总"), 2);
  EXPECT_EQ(window.CurrentIndex("组合框_三星注数1"), 3);
  EXPECT_EQ(window.CurrentIndex("组合框_三星起始期1"), 5);
  // The three-star plan ran: its preset captions carry the play and a rate.
  EXPECT_NE(window.Text("超级按钮_后三1").find('%'), std::string::npos);
  EXPECT_EQ(states.search.selectedResultRow, -1);
}

TEST_F(SearchHandlers, ClickSelectsAndUseWithoutARowDoesNothing) {
  RunSql(work.path() / "jhgsj.dll",
         "CREATE TABLE records (a TEXT, b TEXT, c TEXT);"
         "INSERT INTO records VALUES ('pos', 'two', 'three');");
  SetRows({{"DCC*657", "80%"}, {"", "70%"}});
  window.SetCurrentRow(kList, 1);
  window.Fire(kList, ui::Event::RowClick, 1);
  EXPECT_EQ(states.search.selectedResultRow, 1);
  window.Click("按钮_搜使用公式");  // the row's formula is empty
  window.SetCurrentRow(kList, -1);
  window.Fire(kList, ui::Event::RowClick, -1);
  EXPECT_EQ(states.search.selectedResultRow, -1);
  window.Click("按钮_搜使用公式");
  EXPECT_EQ(QueryText(work.path() / "jhgsj.dll", "SELECT a || b || c FROM records"), "postwothree");
  EXPECT_EQ(window.CurrentPage("高级选择夹_计划总"), 0);
}

TEST_F(SearchHandlers, SmartFilterSearchesAndSavesTheKindOnShow) {
  LoadHistory(80, 60);
  WriteLibrary(formulas);
  Select("组合框_搜概率", "10%");
  window.SetCurrentPage("高级选择夹_那星", 1);
  window.Click("超级按钮_智能筛选");
  EXPECT_TRUE(window.Checked("单选框_搜二星"));
  const auto rows = Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(plan::LoadPresetFormulas(data.path(), plan::PlanKind::TwoStar)[0], rows[0][1]);
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_TRUE(window.Enabled("超级按钮_智能筛选"));
  EXPECT_TRUE(window.Enabled("按钮_搜开始"));
}

}  // namespace
}  // namespace search
