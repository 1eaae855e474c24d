#include "search/result_sort.h"

#include <gtest/gtest.h>

namespace search {
namespace {

TEST(SortByRate, HighestFirstEqualRatesKeepTheirOrder) {
  const std::vector<ResultEntry> entries = {{"a", "40"}, {"b", "73"}, {"c", "73"}, {"d", "55"},
                                            {"e", ""},   {"f", "x9"}, {"g", "100"}};
  EXPECT_EQ(SortByRate(entries), (std::vector<ResultEntry>{{"g", "100"},
                                                           {"b", "73"},
                                                           {"c", "73"},
                                                           {"d", "55"},
                                                           {"a", "40"},
                                                           {"e", ""},
                                                           {"f", "x9"}}));
  EXPECT_TRUE(SortByRate({}).empty());
}

TEST(LeadingNumber, ReadsLikeAtof) {
  EXPECT_EQ(LeadingNumber("80%"), 80);
  EXPECT_EQ(LeadingNumber("5000"), 5000);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber(" 7码"), 7);
}

}  // namespace
}  // namespace search
