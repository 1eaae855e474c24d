#include "plan/preset_formula_file.h"

#include <gtest/gtest.h>

#include "base/atomic_file.h"
#include "storage/ini_file.h"
#include "temp_dir.h"

namespace plan {
namespace {

TEST(DecodeFormulaText, EachIntegerGivesItsNonZeroBytesLowFirst) {
  const std::pair<std::string, std::string> cases[] = {
      {"68,67,67,42,54,53,55", "DCC*657"},
      {"17220,55", "DC7"},    // two bytes in one integer, low byte first
      {"68,0,67", "DC"},      // zero bytes are dropped
      {" 68,x,67", "DC"},     // a piece without a number reads as 0
      {"214,208,68", "中D"},  // GBK bytes, one per integer
      {"53462,68", "中D"},    // both GBK bytes in one integer
      {"", ""},
  };
  for (const auto& [stored, formula] : cases) {
    EXPECT_EQ(DecodeFormulaText(stored), formula) << stored;
  }
}

TEST(EncodeFormulaText, OneNumberPerGbkByte) {
  auto encoded = EncodeFormulaText("DCC*657");
  ASSERT_TRUE(encoded.ok());
  EXPECT_EQ(encoded.value(), "68,67,67,42,54,53,55");
  auto chinese = EncodeFormulaText("中D");
  ASSERT_TRUE(chinese.ok());
  EXPECT_EQ(chinese.value(), "214,208,68");
  EXPECT_EQ(DecodeFormulaText(chinese.value()), "中D");
  EXPECT_FALSE(EncodeFormulaText("\xF0\x9F\x98\x80").ok());  // no GBK form
}

TEST(LoadPresetFormulas, ReadsTheKindsSection) {
  TempDir dir;
  auto file = dir.path() / kPresetFileName;
  ASSERT_TRUE(storage::WriteIniKey(file, "1", "1", "68,67,67,42,54,53,55").ok());
  ASSERT_TRUE(storage::WriteIniKey(file, "1", "10", "17220,55").ok());
  ASSERT_TRUE(storage::WriteIniKey(file, "2", "1", "67,69,69").ok());
  auto position = LoadPresetFormulas(dir.path(), PlanKind::Position);
  EXPECT_EQ(position[0], "DCC*657");
  EXPECT_EQ(position[9], "DC7");
  for (int k = 1; k < 9; ++k) EXPECT_EQ(position[k], "") << k;
  EXPECT_EQ(LoadPresetFormulas(dir.path(), PlanKind::TwoStar)[0], "CEE");
  EXPECT_EQ(LoadPresetFormulas(dir.path(), PlanKind::ThreeStar), PresetFormulas{});
}

TEST(LoadPresetFormulas, MissingFileGivesEmptyFormulas) {
  TempDir dir;
  EXPECT_EQ(LoadPresetFormulas(dir.path(), PlanKind::Position), PresetFormulas{});
}

}  // namespace
}  // namespace plan
