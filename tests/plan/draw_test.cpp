#include "plan/draw.h"

#include <gtest/gtest.h>

namespace plan {
namespace {

std::vector<lottery::Draw> History(int count) {
  std::vector<lottery::Draw> history;  // newest first
  for (int i = count; i >= 1; --i) {
    char issue[16];
    std::snprintf(issue, sizeof issue, "20140301-%03d", i);
    history.push_back({issue, "1234" + std::to_string(i % 10)});
  }
  return history;
}

std::vector<std::string> Issues(const std::vector<lottery::Draw>& draws) {
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
