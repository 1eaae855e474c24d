#include "storage/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "base/codepage.h"
#include "temp_dir.h"

namespace storage {
namespace {

TEST(IniText, LookupFindsKeyInItsSectionOnly) {
  const std::string ini = "[1]\r\n1=真\r\n[2]\r\n1=假\r\n 2 = spaced \r\n";
  EXPECT_EQ(LookupIniKey(ini, "1", "1", "x"), "真");
  EXPECT_EQ(LookupIniKey(ini, "2", "1", "x"), "假");
  EXPECT_EQ(LookupIniKey(ini, "2", "2", "x"), "spaced");
  EXPECT_EQ(LookupIniKey(ini, "3", "1", "x"), "x");
  EXPECT_EQ(LookupIniKey(ini, "1", "9", ""), "");
}

TEST(IniText, SetKeepsOtherLinesSectionsAndComments) {
  const std::string ini = "; note\r\n[a]\r\nk=1\r\nother=2\r\n\r\n[b]\r\nk=3\r\n";
  EXPECT_EQ(SetIniKey(ini, "a", "k", "9"), "; note\r\n[a]\r\nk=9\r\nother=2\r\n\r\n[b]\r\nk=3\r\n");
  EXPECT_EQ(SetIniKey(ini, "a", "new", "v"),
            "; note\r\n[a]\r\nk=1\r\nother=2\r\nnew=v\r\n\r\n[b]\r\nk=3\r\n");
  EXPECT_EQ(SetIniKey(ini, "c", "k", ""), ini + "[c]\r\nk=\r\n");
  EXPECT_EQ(SetIniKey("", "1", "1", "真"), "[1]\r\n1=真\r\n");
}

TEST(IniText, SetKeepsEachLineItsOwnLineEnd) {
  struct Case {
    std::string before, after;
  };
  for (const Case& c : std::vector<Case>{
           {"[a]\nk=1\n", "[a]\nk=2\n"},
           {"[a]\nk=1", "[a]\nk=2"},
           {"[a]\r\nx=1\n", "[a]\r\nx=1\nk=2\r\n"},
           {"; note", "; note\r\n[a]\r\nk=2\r\n"},
           {"[b]\nk=1", "[b]\nk=1\n[a]\nk=2\n"},
       }) {
    EXPECT_EQ(SetIniKey(c.before, "a", "k", "2"), c.after) << c.before;
  }
}

TEST(IniFile, WritesGbkAndReadsBothGbkAndUtf8) {
  TempDir dir;
  auto path = dir.path() / "sz.ini";
  ASSERT_TRUE(WriteIniKey(path, "1", "1", "真").ok());
  auto raw = base::ReadSmallFile(path);
  ASSERT_TRUE(raw.ok());
  EXPECT_EQ(raw.value(), "[1]\r\n1=" + *base::Utf8ToGbk("真") + "\r\n");
  EXPECT_EQ(ReadIniKey(path, "1", "1", "假"), "真");

  ASSERT_TRUE(base::WriteFileAtomically(path, "[1]\n1=假\n").ok());
  EXPECT_EQ(ReadIniKey(path, "1", "1", "x"), "假");
}

TEST(IniFile, AGbkCharacterEndingInABracketByteIsPartOfTheSectionName) {
  // "乚" is 0x81 0x5D in GBK: its second byte is "]".
  TempDir dir;
  auto path = dir.path() / "gs.ini";
  const std::string before = *base::Utf8ToGbk("[乚]\r\nk=1\r\n[b]\r\nk=3\r\n");
  ASSERT_TRUE(base::WriteFileAtomically(path, before).ok());
  ASSERT_TRUE(WriteIniKey(path, "乚", "k", "2").ok());
  auto raw = base::ReadSmallFile(path);
  ASSERT_TRUE(raw.ok());
  EXPECT_EQ(raw.value(), *base::Utf8ToGbk("[乚]\r\nk=2\r\n[b]\r\nk=3\r\n"));
}

TEST(IniFile, SeveralKeysGoInOneReplaceAndEachRefusedOneIsNamed) {
  TempDir dir;
  auto path = dir.path() / "sz.ini";
  ASSERT_TRUE(base::WriteFileAtomically(path, "[3]\r\n2=old\r\n").ok());
  const std::vector<IniEntry> entries = {
      {"3", "1", "a"}, {"3", "2", "b\nc"}, {"3", "3", "\xf0\x9f\x98\x80"}, {"1", "1", "真"}};
  auto written = WriteIniKeys(path, entries);
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().message,
            "[3] 2 含有换行，不能写入；[3] 3 含有 GBK 无法表示的字符，不能写入");
  auto raw = base::ReadSmallFile(path);
  ASSERT_TRUE(raw.ok());
  EXPECT_EQ(raw.value(), *base::Utf8ToGbk("[3]\r\n2=old\r\n1=a\r\n[1]\r\n1=真\r\n"));
}

TEST(IniFile, MissingFileOrDirectoryGivesFallbackAndWriteRefusesDirectory) {
  TempDir dir;
  EXPECT_EQ(ReadIniKey(dir.path() / "none.ini", "1", "1", "fallback"), "fallback");
  EXPECT_EQ(ReadIniKey(dir.path(), "1", "1", "fallback"), "fallback");
  EXPECT_FALSE(WriteIniKey(dir.path(), "1", "1", "v").ok());
}

TEST(IniFile, LineBreaksAreRefusedAndTheFileKeptAsItWas) {
  TempDir dir;
  auto path = dir.path() / "sz.ini";
  ASSERT_TRUE(WriteIniKey(path, "3", "1", "3").ok());
  auto before = base::ReadSmallFile(path);
  for (const char* value : {"1\r\n[2]\r\n7=假", "1\n2=9", "x\r"}) {
    EXPECT_FALSE(WriteIniKey(path, "3", "1", value).ok()) << value;
  }
  EXPECT_FALSE(WriteIniKey(path, "3", "k\n[2]", "v").ok());
  EXPECT_FALSE(WriteIniKey(path, "3]\n[2", "1", "v").ok());
  auto after = base::ReadSmallFile(path);
  ASSERT_TRUE(before.ok() && after.ok());
  EXPECT_EQ(before.value(), after.value());
}

// Every INI file of the program reads its lines through one reader.
TEST(IniLines, SaysWhatEachLineIs) {
  struct Case {
    std::string_view text;
    std::optional<std::string_view> section;
    std::string_view key, value;
  };
  const Case cases[] = {
      {"[a]", "a", "", ""},
      {"  [ 工作群 ]  ", "工作群", "", ""},
      {"[[二]群 = x]", "[二]群 = x", "", ""},  // a name reaches to the last "]"
      {"[a] ; note", "a", "", ""},
      {"[]", "", "", ""},
      {"[open", std::nullopt, "", ""},
      {"[a=b", std::nullopt, "[a", "b"},
      {" Key = some value \t", std::nullopt, "Key", "some value"},
      {"k=", std::nullopt, "k", ""},
      {"=v", std::nullopt, "", "v"},
      {"; k=v", std::nullopt, "", ""},
      {"  # [a]", std::nullopt, "", ""},
      {"plain words", std::nullopt, "", ""},
  };
  for (const Case& c : cases) {
    const std::vector<IniLine> lines = SplitIniLines(c.text);
    ASSERT_EQ(lines.size(), 1u) << c.text;
    EXPECT_EQ(lines[0].section, c.section) << c.text;
    EXPECT_EQ(lines[0].key, c.key) << c.text;
    EXPECT_EQ(lines[0].value, c.value) << c.text;
  }
}

TEST(IniLines, KeepEveryByteInItsLineOrItsEnd) {
  const std::string content = "\xEF\xBB\xBF[a]\r\nk=1\n\r\nv=x\r\r\n[b]\rtail";
  const std::vector<IniLine> lines = SplitIniLines(content);
  std::string joined;
  for (const IniLine& line : lines) joined.append(line.text).append(line.end);
  EXPECT_EQ(joined, content);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].text, "\xEF\xBB\xBF[a]");
  EXPECT_EQ(lines[0].section, "a");  // the mark is no part of the first line's meaning
  EXPECT_EQ(lines[1].end, "\n");
  EXPECT_EQ(lines[2].text, "");
  EXPECT_EQ(lines[2].end, "\r\n");
  EXPECT_EQ(lines[3].text, "v=x\r");  // a stray CR stays in the line, not in the value
  EXPECT_EQ(lines[3].value, "x");
  EXPECT_EQ(lines[4].end, "");
  EXPECT_EQ(lines[4].section, "b");  // what follows the "]" is no part of the name
  EXPECT_EQ(SplitIniLines("k=1\n\xEF\xBB\xBF[a]")[1].section, std::nullopt);
}

TEST(IniLines, InGbkABracketByteInsideACharacterIsNoBracket) {
  // "乚" is 0x81 0x5D in GBK: its second byte is "]".
  const std::string header = *base::Utf8ToGbk("[乚] 注");
  const std::vector<IniLine> lines = SplitIniLines(header, IniBytes::Gbk);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].section, *base::Utf8ToGbk("乚"));
  EXPECT_FALSE(SplitIniLines(*base::Utf8ToGbk("[乚"), IniBytes::Gbk)[0].section);
}

TEST(IniText, AByteOrderMarkDoesNotHideTheFirstSection) {
  const std::string ini = "\xEF\xBB\xBF[1]\r\n1=真\r\n";
  EXPECT_EQ(LookupIniKey(ini, "1", "1", "x"), "真");
  EXPECT_EQ(SetIniKey(ini, "1", "1", "假"), "\xEF\xBB\xBF[1]\r\n1=假\r\n");
}

}  // namespace
}  // namespace storage
