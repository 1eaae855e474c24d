#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <set>

#include "base/codepage.h"
#include "search/formula_library.h"
#include "search/used_formula_record.h"
#include "sqlite_fixture.h"
#include "temp_dir.h"

namespace search {
namespace {

using Texts = std::vector<std::string>;

TEST(FormulaLibrary, ReadsInRowidOrderAndStopsAtTheLastRecord) {
  TempDir dir;
  // Rowids out of insertion order and an extra column: only rowid order and
  // the named column count.
  RunSql(dir.path() / "gssjj.dll",
         "CREATE TABLE records (编号 INTEGER, 定位公式 TEXT);"
         "INSERT INTO records (rowid, 编号, 定位公式) VALUES (3, 7, 'CEE+741');"
         "INSERT INTO records (rowid, 编号, 定位公式) VALUES (1, 9, 'DCC*657');"
         "INSERT INTO records (rowid, 编号, 定位公式) VALUES (2, 8, NULL);");
  auto three = ReadFormulaLibrary(dir.path(), 3);
  ASSERT_TRUE(three.ok()) << three.error().message;
  EXPECT_EQ(three.value(), (Texts{"DCC*657", "", "CEE+741"}));

  auto two = ReadFormulaLibrary(dir.path(), 2);
  ASSERT_TRUE(two.ok());
  EXPECT_EQ(two.value(), (Texts{"DCC*657", ""}));

  // Past the last record there is no candidate, not even an empty one; the
  // NULL record above is one and stays.
  auto five = ReadFormulaLibrary(dir.path(), 5);
  ASSERT_TRUE(five.ok());
  EXPECT_EQ(five.value(), (Texts{"DCC*657", "", "CEE+741"}));

  auto none = ReadFormulaLibrary(dir.path(), 0);
  ASSERT_TRUE(none.ok());
  EXPECT_TRUE(none.value().empty());
}

TEST(FormulaLibrary, AcceptsGbkTextFromOlderTools) {
  TempDir dir;
  const std::string gbk = *base::Utf8ToGbk("公式AB*1");
  std::string hex;
  for (unsigned char c : gbk) {
    const char* digits = "0123456789ABCDEF";
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  RunSql(dir.path() / "gssjj.dll",
         "CREATE TABLE records (定位公式 TEXT);"
         "INSERT INTO records VALUES (CAST(X'" +
             hex + "' AS TEXT));");
  auto read = ReadFormulaLibrary(dir.path(), 1);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.value(), Texts{"公式AB*1"});
}

TEST(FormulaLibrary, MissingOrForeignFilesReadAsMissingAndAreNotCreated) {
  struct Case {
    const char* what;
    std::string sql;    // empty: no database
    std::string bytes;  // written as the file when sql is empty
    bool present;
  };
  const Case cases[] = {
      {"no file", "", "", false},
      {"not a database", "", "this is not a database, just text\r\n", true},
      {"empty file", "", "", true},
      {"no table records", "CREATE TABLE other (定位公式 TEXT);", "", true},
      {"no column 定位公式", "CREATE TABLE records (公式 TEXT);", "", true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const auto file = dir.path() / "gssjj.dll";
    if (!c.sql.empty()) {
      RunSql(file, c.sql);
    } else if (c.present) {
      std::ofstream(file, std::ios::binary) << c.bytes;
    }
    auto read = ReadFormulaLibrary(dir.path(), 4);
    EXPECT_FALSE(read.ok()) << c.what;
    EXPECT_EQ(std::filesystem::exists(file), c.present) << c.what;
  }
}

TEST(UsedFormulaRecord, WritesOneFieldOfTheFirstRecordByPosition) {
  TempDir dir;
  const auto file = dir.path() / "jhgsj.dll";
  RunSql(file,
         "CREATE TABLE records (甲 TEXT, 乙 TEXT, 丙 TEXT, 丁 TEXT);"
         "INSERT INTO records (rowid, 甲, 乙, 丙, 丁) VALUES (5, 'a2', 'b2', 'c2', 'd2');"
         "INSERT INTO records (rowid, 甲, 乙, 丙, 丁) VALUES (2, 'a1', 'b1', 'c1', 'd1');");
  ASSERT_TRUE(RecordUsedFormula(dir.path(), 3, "DCC*657").ok());
  ASSERT_TRUE(RecordUsedFormula(dir.path(), 1, "公式E").ok());
  EXPECT_EQ(QueryText(file,
                      "SELECT 甲 || '|' || 乙 || '|' || 丙 || '|' || 丁 FROM records "
                      "WHERE rowid = 2"),
            "公式E|b1|DCC*657|d1");
  EXPECT_EQ(QueryText(file, "SELECT 甲 || 乙 || 丙 || 丁 FROM records WHERE rowid = 5"),
            "a2b2c2d2");
  EXPECT_EQ(QueryText(file, "SELECT count(*) FROM records"), "2");
}

TEST(UsedFormulaRecord, NothingIsCreatedOrAdded) {
  {
    TempDir dir;
    EXPECT_FALSE(RecordUsedFormula(dir.path(), 1, "ABC").ok());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "jhgsj.dll"));
  }
  {
    TempDir dir;
    const auto file = dir.path() / "jhgsj.dll";
    RunSql(file, "CREATE TABLE records (a TEXT, b TEXT, c TEXT);");
    EXPECT_FALSE(RecordUsedFormula(dir.path(), 2, "ABC").ok());
    EXPECT_EQ(QueryText(file, "SELECT count(*) FROM records"), "0");
  }
  {
    TempDir dir;
    const auto file = dir.path() / "jhgsj.dll";
    RunSql(file, "CREATE TABLE records (a TEXT, b TEXT); INSERT INTO records VALUES ('x', 'y');");
    EXPECT_FALSE(RecordUsedFormula(dir.path(), 3, "ABC").ok());
    EXPECT_EQ(QueryText(file, "SELECT a || b FROM records"), "xy");
  }
  {
    TempDir dir;
    const auto file = dir.path() / "jhgsj.dll";
    std::ofstream(file, std::ios::binary) << "plain text";
    EXPECT_FALSE(RecordUsedFormula(dir.path(), 1, "ABC").ok());
    std::ifstream in(file, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "plain text");
  }
}

TEST(FormulaLibrary, TheShippedLibraryHoldsThousandsOfFormulasInTheLanguage) {
  auto read = ReadFormulaLibrary(LANZHOU_SHIPPED_DIR, 5000);
  ASSERT_TRUE(read.ok()) << read.error().message;
  std::set<std::string> distinct;
  for (const auto& formula : read.value()) {
    ASSERT_EQ(formula.size(), 7u) << formula;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(formula[i] >= 'A' && formula[i] <= 'E') << formula;
    EXPECT_NE(std::string("*+-").find(formula[3]), std::string::npos) << formula;
    for (int i = 4; i < 7; ++i) EXPECT_TRUE(std::isdigit(formula[i])) << formula;
    distinct.insert(formula);
  }
  EXPECT_EQ(distinct.size(), 5000u);
}

}  // namespace
}  // namespace search
