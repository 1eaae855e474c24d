#include "mirror_draws.h"

#include <gtest/gtest.h>

#include <set>

#include "mirror_source.h"
#include "temp_dir.h"

namespace drawd {
namespace {

using namespace std::chrono;

LocalSeconds At(year_month_day day, int hour, int minute, int second = 0) {
  return LocalSeconds{local_days(day).time_since_epoch()} + hours(hour) + minutes(minute) +
         seconds(second);
}

constexpr year_month_day kDay = 2014y / January / 5d;

TEST(MirrorScheduleTest, SimulatedCodesAreFiveDigitsAndAgreeOnEveryRun) {
  std::set<std::string> codes;
  for (int sequence = 1; sequence <= MirroredLottery().schedule.DrawsPerDay(); ++sequence) {
    std::string code = SimulatedCode(kDay, sequence);
    ASSERT_EQ(code.size(), 5u);
    ASSERT_EQ(code.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_EQ(code, SimulatedCode(kDay, sequence));
    codes.insert(code);
  }
  EXPECT_GT(codes.size(), 100u);  // not one code repeated
  EXPECT_NE(SimulatedCode(kDay, 1), SimulatedCode(2014y / January / 6d, 1));
}

TEST(MirrorSourceTest, SimulatedDrawAppearsOnlyOnceItsTimeHasPassed) {
  LocalSeconds now = At(kDay, 0, 29, 59);
  MirrorSource source = MirrorSource::Simulated([&now] { return now; });
  EXPECT_EQ(source.DayDraws(kDay).size(), 5u);
  EXPECT_EQ(source.DayDraws(2014y / January / 4d).size(), 120u);
  EXPECT_TRUE(source.DayDraws(2014y / January / 6d).empty());
  EXPECT_EQ(source.Newest()->issue, "20140105-005");

  now = At(kDay, 0, 30, 0);
  EXPECT_EQ(source.Newest()->issue, "20140105-006");

  now = At(kDay, 0, 2, 0);  // before the first draw: yesterday's last one
  EXPECT_EQ(source.Newest()->issue, "20140104-120");
  now = At(kDay, 5, 0, 0);  // the pause
  EXPECT_EQ(source.Newest()->issue, "20140105-023");
}

TEST(DrawFileTest, ReadsWellFormedLinesAndCountsTheRest) {
  int malformed = -1;
  auto draws = ParseDrawFile(
      "# recorded\n20140105-001 12345\r\n\n  20140105-002 00000  \n"
      "20140105-1 12345\n20140105-002 1234\n20140230-001 12345\n20140105-121 12345\n"
      "20140105-000 12345\n2014010-0001 12345\n20140105-003\t12345\n",
      &malformed);
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].issue, "20140105-001");
  EXPECT_EQ(draws[0].code, "12345");
  EXPECT_EQ(draws[1].issue, "20140105-002");
  EXPECT_EQ(draws[2].issue, "20140105-003");  // the tab form, as the archive reads it
  EXPECT_EQ(malformed, 6);
}

// One history file serves the mirror and the archive: its export reads too.
TEST(DrawFileTest, ReadsTheArchiveExportAndTheElevenDigitForm) {
  int malformed = -1;
  auto draws = ParseDrawFile(
      "\xEF\xBB\xBFissue,code\r\n20140105-001,12345\r\n20140105002 54321\r\n"
      "20140105-003\t00000",
      &malformed);
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(malformed, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(IssueOf(draws[i]), (lottery::Issue{kDay, i + 1}));
  }
  EXPECT_EQ(draws[1].code, "54321");
  EXPECT_EQ(draws[2].code, "00000");
}

TEST(DrawFileTest, ParsesQueryDates) {
  EXPECT_EQ(ParseDashedDate("2014-01-05"), kDay);
  for (const char* bad :
       {"2014-1-05", "2014-02-30", "2014/01/05", "", "2014-01-05x", "abcd-ef-gh"}) {
    EXPECT_EQ(ParseDashedDate(bad), std::nullopt) << bad;
  }
}

TEST(MirrorSourceTest, FileIsReadAgainWhenItChangesAndFeedsAnswerItsNewest) {
  TempDir dir;
  auto file = dir.path() / "draws.txt";
  std::FILE* out = std::fopen(file.c_str(), "w");
  std::fputs("20140105-002 22222\n20140105-001 11111\n", out);
  std::fclose(out);

  auto source = MirrorSource::FromFile(file);
  ASSERT_TRUE(source.ok());
  auto day = source.value().DayDraws(kDay);
  ASSERT_EQ(day.size(), 2u);
  EXPECT_EQ(IssueOf(day[0]).sequence, 1);  // ascending whatever the file order
  EXPECT_EQ(source.value().Newest()->issue, "20140105-002");

  out = std::fopen(file.c_str(), "a");
  std::fputs("20140105-003 33333\n", out);
  std::fclose(out);
  EXPECT_EQ(source.value().DayDraws(kDay).size(), 3u);
  EXPECT_EQ(source.value().Newest()->code, "33333");

  EXPECT_FALSE(MirrorSource::FromFile(dir.path() / "missing.txt").ok());
}

}  // namespace
}  // namespace drawd
