#include "archive/archive_summary.h"

#include <gtest/gtest.h>

namespace archive {
namespace {

TEST(ArchiveSummaryTest, NamesTheCountAndTheSpanOrSaysEmpty) {
  EXPECT_EQ(FormatArchiveSummary({}), "号码库：空");
  EXPECT_EQ(FormatArchiveSummary({1, "20160116-023", "20160116-023"}),
            "号码库：1 期，20160116-023 至 20160116-023");
  EXPECT_EQ(FormatArchiveSummary({100000, "20000101-001", "20020408-040"}),
            "号码库：100000 期，20000101-001 至 20020408-040");
}

}  // namespace
}  // namespace archive
