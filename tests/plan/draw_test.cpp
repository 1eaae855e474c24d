#include "plan/draw.h"

#include <gtest/gtest.h>

namespace plan {
namespace {

TEST(NextSequence, CountsAndWrapsAtTheEndOfTheDay) {
  const struct {
    std::string sequence;
    int count;
    std::string next;
  } cases[] = {
      {"023", 1, "024"}, {"119", 3, "002"}, {"120", 1, "001"},
      {"098", 2, "100"}, {"005", 4, "009"}, {"009", 1, "010"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextSequence(c.sequence, c.count), c.next) << c.sequence << "+" << c.count;
  }
}

TEST(IssueSequence, PartAfterTheFirstDash) {
  EXPECT_EQ(IssueSequence("20140301-023"), "023");
  EXPECT_EQ(IssueSequence("20140301-023-x"), "023");
  EXPECT_EQ(IssueSequence("20140301"), "");
}

std::vector<Draw> History(int count) {
  std::vector<Draw> history;  // newest first
  for (int i = count; i >= 1; --i) {
    char issue[16];
    std::snprintf(issue, sizeof issue, "20140301-%03d", i);
    history.push_back({issue, "1234" + std::to_string(i % 10)});
  }
  return history;
}

std::vector<std::string> Issues(const std::vector<Draw>& draws) {
  std::vector<std::string> issues;
  for (const auto& d : draws) issues.push_back(d.issue);
  return issues;
}

TEST(BuildPlanSource, FromTheDrawBeforeTheStartToTheNewest) {
  auto history = History(12);  // row 9 is issue 003
  auto source = BuildPlanSource(history, "20140301-003");
  EXPECT_EQ(Issues(source), (std::vector<std::string>{
                                "20140301-002", "20140301-003", "20140301-004", "20140301-005",
                                "20140301-006", "20140301-007", "20140301-008", "20140301-009",
                                "20140301-010", "20140301-011", "20140301-012"}));
}

TEST(BuildPlanSource, OldestMatchOrNoMatch) {
  auto history = History(3);
  EXPECT_EQ(Issues(BuildPlanSource(history, "20140301-001")),
            (std::vector<std::string>{"20140301-001", "20140301-002", "20140301-003"}));
  EXPECT_EQ(BuildPlanSource(history, "").size(), 3u);
  EXPECT_EQ(BuildPlanSource(history, "20140301-099").size(), 3u);
  EXPECT_TRUE(BuildPlanSource({}, "20140301-001").empty());
  EXPECT_EQ(Issues(BuildPlanSource(history, "20140301-003")),
            (std::vector<std::string>{"20140301-002", "20140301-003"}));
}

}  // namespace
}  // namespace plan
