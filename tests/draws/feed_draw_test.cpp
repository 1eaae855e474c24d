#include "draws/feed_draw.h"

#include <gtest/gtest.h>

#include <chrono>

#include "draws/draw_list.h"
#include "ui/memory_window.h"

namespace draws {
namespace {

std::string FirstFeed(const std::string& issue, const std::string& code) {
  return "<?xml version=\"1.0\"?><xml><row expect=\"" + issue +
         "\" starttime=\"2014-01-05 10:00:00\" opencode=\"" + code + "\" order=\"1\"/></xml>";
}

std::string SecondFeed(const std::string& issue, const std::string& code) {
  return "<xml><row expect=\"" + issue + "\" opencode=\"" + code +
         "\" opentime=\"2014-01-05 10:00:00\"/></xml>";
}

using namespace std::chrono;

// Noon of the day the feeds' draws are from.
const base::LocalTime kNow = local_days{2014y / January / 5d} + 12h;

TEST(ParseFeedDrawTest, ReadsBothFeedShapes) {
  struct Case {
    Feed feed;
    std::string body;
    std::optional<FeedDraw> draw;
  };
  for (const Case& c : std::vector<Case>{
           {Feed::First, FirstFeed("140105024", "1,2,3,4,5"), FeedDraw{"140105024", "12345"}},
           {Feed::First, FirstFeed("140105024", "12345"), FeedDraw{"140105024", "12345"}},
           {Feed::First, FirstFeed(" 140105024 ", "0 1 2 3 4"), FeedDraw{"140105024", "01234"}},
           // the left markers are found whatever their letter case
           {Feed::First,
            "<ROW EXPECT=\"140105024\" STARTTIME=\"\" OPENCODE=\"5,4,3,2,1\" ORDER=\"1\"/>",
            FeedDraw{"140105024", "54321"}},
           // an 11-digit issue is read by its last 9 digits, not cut into a wrong one
           {Feed::First, FirstFeed("20140105024", "1,2,3,4,5"), FeedDraw{"140105024", "12345"}},
           {Feed::Second, SecondFeed("20140105024", "1,2,3,4,5"), FeedDraw{"140105024", "12345"}},
           // only the first draw of a document counts
           {Feed::Second,
            SecondFeed("20140105024", "1,2,3,4,5") + SecondFeed("20140105023", "9,9,9,9,9"),
            FeedDraw{"140105024", "12345"}},
           // the last draw of a day, and the next day's first before the clock got there
           {Feed::First, FirstFeed("140105120", "1,2,3,4,5"), FeedDraw{"140105120", "12345"}},
           {Feed::Second, SecondFeed("20140106001", "1,2,3,4,5"), FeedDraw{"140106001", "12345"}},
       }) {
    EXPECT_EQ(ParseFeedDraw(c.feed, c.body, kNow, lottery::Chongqing()), c.draw) << c.body;
  }
}

TEST(ParseFeedDrawTest, SkipsMalformedDrawsInsteadOfCorruptingRows) {
  struct Case {
    Feed feed;
    std::string body;
  };
  for (const Case& c : std::vector<Case>{
           {Feed::First, ""},
           {Feed::First, "<html>504 Gateway Time-out</html>"},
           {Feed::First, FirstFeed("14010502", "1,2,3,4,5")},     // 8 digits
           {Feed::First, FirstFeed("1401050240", "1,2,3,4,5")},   // 10 digits
           {Feed::First, FirstFeed("140105024", "1,2,3,4")},      // four digits
           {Feed::First, FirstFeed("140105024", "1,2,3,4,5,6")},  // six digits
           {Feed::Second, ""},
           {Feed::Second, SecondFeed("140105024", "1,2,3,4,5")},    // 9-digit issue
           {Feed::Second, SecondFeed("2014010502x", "1,2,3,4,5")},  // not digits
           {Feed::Second, SecondFeed("20140105024", "1,2,3,4")},
           {Feed::Second, "<row expect=\"2014\" opentime=\""},  // too short
           // no draw of a day: sequence 000, past 120, or no date at all
           {Feed::First, FirstFeed("20991231999", "1,2,3,4,5")},
           {Feed::First, FirstFeed("140105000", "1,2,3,4,5")},
           {Feed::First, FirstFeed("140105121", "1,2,3,4,5")},
           {Feed::Second, SecondFeed("20140105999", "1,2,3,4,5")},
           {Feed::First, FirstFeed("141305024", "1,2,3,4,5")},
           {Feed::Second, SecondFeed("20140230024", "1,2,3,4,5")},
           // a date after the clock's next day
           {Feed::First, FirstFeed("140107001", "1,2,3,4,5")},
           {Feed::Second, SecondFeed("20991231001", "1,2,3,4,5")},
       }) {
    EXPECT_EQ(ParseFeedDraw(c.feed, c.body, kNow, lottery::Chongqing()), std::nullopt) << c.body;
  }
}

TEST(FeedDrawToInsertTest, InsertsOnlyANewerDrawAboveAnExistingTop) {
  FeedDraw next{"140105024", "12345"};
  EXPECT_EQ(FeedDrawToInsert(next, "20140105-023"), (lottery::Draw{"20140105-024", "12345"}));
  EXPECT_EQ(FeedDrawToInsert(next, "20140105-024"), std::nullopt);  // the same draw
  EXPECT_EQ(FeedDrawToInsert(next, "20140105-025"), std::nullopt);  // older
  EXPECT_EQ(FeedDrawToInsert(next, ""), std::nullopt);              // no row 0
  // across midnight the key still grows
  EXPECT_EQ(FeedDrawToInsert({"140106001", "00000"}, "20140105-120"),
            (lottery::Draw{"20140106-001", "00000"}));
}

class ApplyFeedDrawTest : public ::testing::Test {
 protected:
  void AddRow(const std::string& issue, const std::string& code) {
    int row = window.InsertRow(kDrawList, -1);
    window.SetCell(kDrawList, row, 0, issue);
    window.SetCell(kDrawList, row, 1, code);
  }
  ui::MemoryWindow window;
};

TEST_F(ApplyFeedDrawTest, EqualIssueInsertsNothing) {
  AddRow("20140105-023", "11111");
  EXPECT_FALSE(ApplyFeedDraw(window, lottery::Chongqing(), Feed::First,
                             FirstFeed("140105023", "2,2,2,2,2")));
  EXPECT_EQ(window.RowCount(kDrawList), 1);
  EXPECT_EQ(window.Cell(kDrawList, 0, 1), "11111");
}

TEST_F(ApplyFeedDrawTest, OneHigherInsertsAtTheTopAndTheSecondFeedThenNothing) {
  AddRow("20140105-023", "11111");
  AddRow("20140105-022", "00000");
  EXPECT_TRUE(ApplyFeedDraw(window, lottery::Chongqing(), Feed::First,
                            FirstFeed("140105024", "1,2,3,4,5")));
  EXPECT_FALSE(ApplyFeedDraw(window, lottery::Chongqing(), Feed::Second,
                             SecondFeed("20140105024", "1,2,3,4,5")));
  ASSERT_EQ(window.RowCount(kDrawList), 3);
  EXPECT_EQ(window.Cell(kDrawList, 0, 0), "20140105-024");
  EXPECT_EQ(window.Cell(kDrawList, 0, 1), "12345");
  EXPECT_EQ(window.Cell(kDrawList, 1, 0), "20140105-023");
}

TEST_F(ApplyFeedDrawTest, SecondFeedInsertsTheCodeWithoutCommas) {
  AddRow("20140105-023", "11111");
  EXPECT_TRUE(ApplyFeedDraw(window, lottery::Chongqing(), Feed::Second,
                            SecondFeed("20140105024", "9,0,8,1,7")));
  EXPECT_EQ(window.Cell(kDrawList, 0, 0), "20140105-024");
  EXPECT_EQ(window.Cell(kDrawList, 0, 1), "90817");
}

TEST_F(ApplyFeedDrawTest, NoRowZeroInsertsNothing) {
  EXPECT_FALSE(ApplyFeedDraw(window, lottery::Chongqing(), Feed::First,
                             FirstFeed("140105024", "1,2,3,4,5")));
  EXPECT_FALSE(ApplyFeedDraw(window, lottery::Chongqing(), Feed::Second,
                             SecondFeed("20140105024", "1,2,3,4,5")));
  EXPECT_EQ(window.RowCount(kDrawList), 0);
}

TEST_F(ApplyFeedDrawTest, ADrawFromTheFutureCannotBlockTheRealNextDraw) {
  window.SetClock(kNow);
  AddRow("20140105-023", "11111");
  for (auto feed : {FirstFeed("20991231999", "9,9,9,9,9"), FirstFeed("991231001", "9,9,9,9,9"),
                    FirstFeed("140105777", "9,9,9,9,9")}) {
    EXPECT_FALSE(ApplyFeedDraw(window, lottery::Chongqing(), Feed::First, feed)) << feed;
  }
  EXPECT_TRUE(ApplyFeedDraw(window, lottery::Chongqing(), Feed::Second,
                            SecondFeed("20140105024", "1,2,3,4,5")));
  ASSERT_EQ(window.RowCount(kDrawList), 2);
  EXPECT_EQ(window.Cell(kDrawList, 0, 0), "20140105-024");
}

TEST_F(ApplyFeedDrawTest, MalformedFeedDrawLeavesTheListAlone) {
  AddRow("20140105-023", "11111");
  EXPECT_FALSE(
      ApplyFeedDraw(window, lottery::Chongqing(), Feed::First, FirstFeed("140105024", "1,2,3")));
  EXPECT_EQ(window.RowCount(kDrawList), 1);
}

}  // namespace
}  // namespace draws
