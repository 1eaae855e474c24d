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

}  // namespace
}  // namespace search
