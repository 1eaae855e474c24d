#include "lottery/issue.h"

#include <gtest/gtest.h>

#include <string>

#include "lottery/lottery.h"

namespace lottery {
namespace {

using namespace std::chrono;

TEST(IssueTest, BothFormsReadAsTheSameIssueAndWriteBack) {
  struct Case {
    const char* text;
    Issue issue;
  };
  for (const Case& c : {
           Case{"20160116-023", {2016y / January / 16d, 23}},
           Case{"20160116023", {2016y / January / 16d, 23}},
           Case{"20000101-001", {2000y / January / 1d, 1}},
           Case{"20991231-120", {2099y / December / 31d, 120}},
           Case{"20991231120", {2099y / December / 31d, 120}},
           Case{"20160229-001", {2016y / February / 29d, 1}},  // a leap day
       }) {
    auto parsed = ParseIssue(c.text, Chongqing());
    ASSERT_TRUE(parsed.ok()) << c.text << ": " << parsed.error().message;
    EXPECT_EQ(parsed.value(), c.issue) << c.text;
    const std::string kept = IssueText(c.issue);
    EXPECT_EQ(kept.size(), 12u);
    EXPECT_EQ(LongIssueText(c.issue), kept.substr(0, 8) + kept.substr(9)) << c.text;
    EXPECT_EQ(ParseKeptIssue(kept, Chongqing()).value(), c.issue) << c.text;
  }
}

TEST(IssueTest, BadIssuesSayWhy) {
  struct Case {
    const char* text;
    const char* reason;
  };
  for (const Case& c : {
           Case{"", "bad issue number"},
           Case{"2016011-0231", "bad issue number"},
           Case{"20160116-23", "bad issue number"},
           Case{"2016011623", "bad issue number"},
           Case{"201601160231", "bad issue number"},
           Case{"20160116_023", "bad issue number"},
           Case{"2016-01-16-023", "bad issue number"},
           Case{"2016011602x", "bad issue number"},
           Case{"20160116-02x", "bad issue number"},
           Case{"-0160116-023", "bad issue number"},
           Case{"20160230-001", "no such date 20160230"},
           Case{"20150229001", "no such date 20150229"},
           Case{"20161301-001", "no such date 20161301"},
           Case{"20160100-001", "no such date 20160100"},
           Case{"19991231-001", "year 1999 outside 2000-2099"},
           Case{"21000101001", "year 2100 outside 2000-2099"},
           Case{"20160116-121", "sequence 121 outside 001-120"},
           Case{"20160116000", "sequence 000 outside 001-120"},
           Case{"20160116-999", "sequence 999 outside 001-120"},
       }) {
    auto parsed = ParseIssue(c.text, Chongqing());
    ASSERT_FALSE(parsed.ok()) << c.text;
    EXPECT_EQ(parsed.error().message, c.reason) << c.text;
  }
}

TEST(IssueTest, OnlyTheDashedFormIsTheKeptOne) {
  EXPECT_TRUE(ParseKeptIssue("20160116-023", Chongqing()).ok());
  EXPECT_EQ(ParseKeptIssue("20160116023", Chongqing()).error().message, "bad issue number");
}

TEST(SequenceAfter, CountsAndWrapsAtTheEndOfTheDay) {
  const struct {
    std::string sequence;
    int count;
    std::string next;
  } cases[] = {
      {"023", 1, "024"}, {"119", 3, "002"}, {"120", 1, "001"},
      {"098", 2, "100"}, {"005", 4, "009"}, {"009", 1, "010"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SequenceAfter(c.sequence, c.count, Chongqing().schedule.DrawsPerDay()), c.next)
        << c.sequence << "+" << c.count;
  }
}

TEST(IssueSequence, PartAfterTheFirstDash) {
  EXPECT_EQ(IssueSequence("20140301-023"), "023");
  EXPECT_EQ(IssueSequence("20140301-023-x"), "023");
  EXPECT_EQ(IssueSequence("20140301"), "");
}

}  // namespace
}  // namespace lottery
