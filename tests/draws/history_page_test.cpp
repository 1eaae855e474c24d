#include "draws/history_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <boost/regex.hpp>
#include <random>
#include <string>
#include <vector>

#include "draws/issue_key.h"
#include "lottery/lottery.h"

namespace draws {
namespace {

using namespace std::chrono;

std::string Row(const std::string& sequence, const std::string& code) {
  return "<tr><td class='gray'>" + sequence + "</td><td class='red big'>" + code +
         "</td><td>10:00</td></tr>\n";
}

TEST(HistoryUrlTest, NamesTheSameDateTwiceWithPaddedMonthAndDay) {
  EXPECT_EQ(
      HistoryUrl("http://127.0.0.1:1", lottery::Chongqing().sources, 2014y / January / 5d),
      "http://127.0.0.1:1/kaijiang/kaijiang?lotId=255401&spanType=2&span=2014-01-05_2014-01-05");
  EXPECT_EQ(CompactDate(2014y / January / 5d), "20140105");
  EXPECT_EQ(CompactDate(2023y / December / 31d), "20231231");
}

TEST(ParseHistoryPageTest, ReadsRowsInPageOrder) {
  std::string page = "<table>" + Row("001", "12345") + Row("002", "67890") + "</table>";
  EXPECT_EQ(ParseHistoryPage(page, "20140105", lottery::Chongqing()),
            (std::vector<std::string>{"20140105-00112345", "20140105-00267890"}));
}

TEST(ParseHistoryPageTest, PageWithoutMatchingRowYieldsNothing) {
  EXPECT_TRUE(ParseHistoryPage("", "20140105", lottery::Chongqing()).empty());
  EXPECT_TRUE(
      ParseHistoryPage("<html><body>系统维护</body></html>", "20140105", lottery::Chongqing())
          .empty());
  // the pattern is case-sensitive and exact about quotes
  EXPECT_TRUE(ParseHistoryPage("<TR><TD class='gray'>001</TD><TD class='red big'>12345<",
                               "20140105", lottery::Chongqing())
                  .empty());
  EXPECT_TRUE(ParseHistoryPage("<tr><td class=\"gray\">001</td><td class=\"red big\">12345<",
                               "20140105", lottery::Chongqing())
                  .empty());
}

TEST(ParseHistoryPageTest, SkipsMalformedOrImpossibleSequenceOrCodeInsteadOfCorruptingRows) {
  struct Case {
    std::string sequence, code;
  };
  for (const Case& bad : std::vector<Case>{{"01", "12345"},
                                           {"0011", "12345"},
                                           {"001", "1234"},
                                           {"001", "123456"},
                                           {"001", "1,2,3,4,5"},
                                           {"00a", "12345"},
                                           {"001", ""},
                                           {" 001", "12345"},
                                           // no draw of a day has these sequences
                                           {"000", "12345"},
                                           {"121", "12345"},
                                           {"999", "12345"}}) {
    std::string page = Row(bad.sequence, bad.code) + Row("002", "55555");
    EXPECT_EQ(ParseHistoryPage(page, "20140105", lottery::Chongqing()),
              std::vector<std::string>{"20140105-00255555"})
        << bad.sequence << " / " << bad.code;
  }
  EXPECT_EQ(ParseHistoryPage(Row("120", "12345"), "20140105", lottery::Chongqing()),
            std::vector<std::string>{"20140105-12012345"});
}

TEST(ParseHistoryPageTest, LazyGroupsStopAtTheFirstClosingMarkup) {
  // all rows on one line: each match ends at its own cell
  std::string page = Row("001", "11111") + Row("002", "22222");
  page.erase(std::remove(page.begin(), page.end(), '\n'), page.end());
  EXPECT_EQ(ParseHistoryPage(page, "20140105", lottery::Chongqing()).size(), 2u);
}

TEST(ParseHistoryPageTest, GbkBytesAroundTheRowsDoNotDisturbMatching) {
  // "重庆" in GBK, whose bytes never form ASCII markup
  std::string page = "\xd6\xd8\xc7\xec" + Row("120", "09876") + "\xd6\xd8";
  EXPECT_EQ(ParseHistoryPage(page, "20140104", lottery::Chongqing()),
            std::vector<std::string>{"20140104-12009876"});
}

TEST(ParseHistoryPageTest, UnclosedRowOpeningsAfterTheRowsAddNothing) {
  // thousands of row openings without a closing cell, where a search from
  // each one would scan to the end of the page
  std::string page = Row("001", "12345");
  for (int i = 0; i < 6000; ++i) page += "<tr><td class='gray'>1";
  EXPECT_EQ(ParseHistoryPage(page, "20140105", lottery::Chongqing()),
            std::vector<std::string>{"20140105-00112345"});
}

// Offsets and lengths of both captures of each match.
using Spans = std::vector<std::array<std::ptrdiff_t, 4>>;

// The matches as Boost finds them searching the whole page, the way the page
// was always read.
Spans BoostOverTheWholePage(const std::string& page) {
  static const boost::regex pattern(std::string(kHistoryPattern), boost::regex::perl);
  Spans spans;
  for (boost::sregex_iterator match(page.begin(), page.end(), pattern), end; match != end;
       ++match) {
    spans.push_back({match->position(1), match->length(1), match->position(2), match->length(2)});
  }
  return spans;
}

Spans SpansOf(const std::string& page, const std::vector<HistoryMatch>& matches) {
  Spans spans;
  for (const HistoryMatch& match : matches) {
    spans.push_back(
        {match.sequence.data() - page.data(), static_cast<std::ptrdiff_t>(match.sequence.size()),
         match.code.data() - page.data(), static_cast<std::ptrdiff_t>(match.code.size())});
  }
  return spans;
}

TEST(FindHistoryMatchesTest, FindsWhatBoostFindsOverTheWholePage) {
  const std::string open = "<tr><td class='gray'>";
  const std::string cell = "</td><td class='red big'>";
  std::vector<std::string> pages = {
      "",
      Row("001", "12345") + Row("002", "67890"),
      open + open + open + "001" + cell + "12345<",
      Row("001", "12345") + open + "002" + cell + "67890",  // the last code cell ends no code
      Row("001", "12345") + open + "002" + cell + "6" + cell + "7",
      cell + "<" + open + cell + "<",
      open + "a\nb\r\n" + std::string(1, '\0') + "\xd6\xd8" + cell + "\n\xd6<",
  };
  // Random pages of the pattern's own pieces, cut and whole, among other text.
  const std::vector<std::string> pieces = {open,
                                           cell,
                                           "<",
                                           "001",
                                           "12345",
                                           "</td></tr>",
                                           "\r\n",
                                           std::string(1, '\0'),
                                           "\xd6\xd8",
                                           open.substr(0, 19),
                                           cell.substr(0, 18),
                                           open.substr(4),
                                           "x"};
  std::mt19937 random(20140105);
  std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  for (int i = 0; i < 3000; ++i) {
    std::string page;
    for (int n = length(random); n > 0; --n) page += pieces[piece(random)];
    pages.push_back(page);
  }
  int pagesWithMatches = 0;
  for (const std::string& page : pages) {
    const Spans expected = BoostOverTheWholePage(page);
    ASSERT_EQ(SpansOf(page, FindHistoryMatches(page)), expected) << ::testing::PrintToString(page);
    pagesWithMatches += expected.empty() ? 0 : 1;
  }
  // matches are common enough for the comparison to mean something
  EXPECT_GT(pagesWithMatches, 500);
}

TEST(PrependHistoryItemsTest, AtHalfPastMidnightTodaysFewDrawsComeBeforeYesterdaysFullDay) {
  std::string yesterday;
  for (int sequence = 1; sequence <= 120; ++sequence) {
    char text[4];
    std::snprintf(text, sizeof text, "%03d", sequence);
    yesterday += Row(text, "1234" + std::to_string(sequence % 10));
  }
  std::string today = Row("001", "00001") + Row("002", "00002") + Row("003", "00003") +
                      Row("004", "00004") + Row("005", "00005") + Row("006", "00006");

  std::vector<std::string> list;
  PrependHistoryItems(list, yesterday, "20140104", lottery::Chongqing());
  PrependHistoryItems(list, today, "20140105", lottery::Chongqing());

  ASSERT_EQ(list.size(), 126u);
  EXPECT_EQ(list[0], "20140105-00600006");
  EXPECT_EQ(list[5], "20140105-00100001");
  EXPECT_EQ(list[6], "20140104-12012340");
  EXPECT_EQ(list[125], "20140104-00112341");
}

TEST(IssueKeyTest, IssueKeyIsTheLastNineDigits) {
  EXPECT_EQ(IssueKeyText("20140105-023"), "140105023");
  EXPECT_EQ(IssueKeyText("140105023"), "140105023");
  EXPECT_EQ(IssueKeyText(""), "");
  EXPECT_EQ(IssueKeyText("-"), "");
  EXPECT_EQ(IssueFromKey("140105023"), "20140105-023");
  EXPECT_EQ(IssueKeyNumber("140105023"), 140105023.0);
  EXPECT_EQ(IssueKeyNumber("12ab"), 12.0);
  EXPECT_EQ(IssueKeyNumber("x12"), 0.0);
  EXPECT_EQ(IssueKeyNumber(""), 0.0);
  EXPECT_EQ(IssueKeyNumber(" 12"), 0.0);
}

}  // namespace
}  // namespace draws
