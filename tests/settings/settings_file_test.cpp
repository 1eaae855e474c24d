#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/area_states.h"
#include "base/atomic_file.h"
#include "base/codepage.h"
#include "lottery/lottery.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace settings {
namespace {

// A message box text that holds `part`.
::testing::AssertionResult Says(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << text << "\" does not say \"" << part << "\"";
}

const std::vector<std::string> kAutoUpdate = {"选择框_定位更新", "选择框_后二更新",
                                              "选择框_后三更新"};
const std::vector<std::string> kRadios = {
    "单选框_数据源1",      "单选框_数据源2",  "单选框_万",          "单选框_千",
    "单选框_百",           "单选框_十",       "单选框_个",          "单选框_后二复试",
    "单选框_后二直选复试", "单选框_后三组选", "单选框_后三直选复试"};
const std::vector<std::string> kNumbers = {"编辑框_定位期数", "编辑框_定位码数", "编辑框_后二期数",
                                           "编辑框_后二码数", "编辑框_后三期数", "编辑框_后三码数"};
const std::vector<std::string> kOwnFormulaBoxes = {"选择框_定位自定义公式", "选择框_二星自定义公式",
                                                   "选择框_三星自定义公式"};
const std::vector<std::string> kOwnFormulas = {"编辑框_定位公式", "编辑框_二星公式",
                                               "编辑框_三星公式"};

class SettingsFileTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir.path() / "sz.ini"; }
  void WriteUtf8File(const std::string& content) {
    ASSERT_TRUE(base::WriteFileAtomically(File(), *base::Utf8ToGbk(content)).ok());
  }

  TempDir dir;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())};
};

TEST_F(SettingsFileTest, SaveWritesEveryKeyAsTrueFalseAndText) {
  ASSERT_TRUE(SaveSettings(ctx).ok());
  auto raw = base::ReadSmallFile(File());
  ASSERT_TRUE(raw.ok());
  // The form values, GBK on disk, CR LF line ends, sections in order: the
  // twenty one-key settings, then 自定义 and 所用公式 of the three plan pages.
  const std::string expected =
      "[1]\r\n1=假\r\n2=假\r\n3=假\r\n"
      "[2]\r\n1=真\r\n2=假\r\n3=假\r\n4=假\r\n5=假\r\n6=假\r\n7=真\r\n8=真\r\n9=假\r\n10=真\r\n"
      "11=假\r\n"
      "[3]\r\n1=3\r\n2=5\r\n3=3\r\n4=8\r\n5=3\r\n6=8\r\n"
      "[4]\r\n1=假\r\n2=假\r\n3=假\r\n"
      "[5]\r\n1=\r\n2=\r\n3=\r\n";
  EXPECT_EQ(raw.value(), *base::Utf8ToGbk(expected));
}

TEST_F(SettingsFileTest, RoundTripRestoresEveryStateAndText) {
  // A state far from the form values: every check box flipped, other radios
  // picked in each group, numbers that cannot be typed (two digits, empty).
  for (const auto& name : kAutoUpdate) window.SetChecked(name, true);
  window.Click("单选框_数据源2");
  window.Click("单选框_百");
  window.Click("单选框_后二直选复试");
  window.Click("单选框_后三直选复试");
  const std::vector<std::string> numbers = {"1", "", "12", "0", "9", "7"};
  for (std::size_t i = 0; i < kNumbers.size(); ++i) window.SetText(kNumbers[i], numbers[i]);
  window.SetChecked("选择框_定位自定义公式", true);
  window.SetChecked("选择框_三星自定义公式", true);
  const std::vector<std::string> formulas = {"DCC*657", "", "(A+B)*千位=3; #2"};
  for (std::size_t i = 0; i < kOwnFormulas.size(); ++i)
    window.SetText(kOwnFormulas[i], formulas[i]);
  ASSERT_TRUE(SaveSettings(ctx).ok());

  ui::MemoryWindow fresh;
  core::Env freshCtx{fresh, dir.path(), dir.path(), lottery::Chongqing()};
  LoadSettings(freshCtx);
  for (const auto& name : kAutoUpdate) EXPECT_TRUE(fresh.Checked(name)) << name;
  for (const auto& name : kRadios) EXPECT_EQ(fresh.Checked(name), window.Checked(name)) << name;
  EXPECT_TRUE(fresh.Checked("单选框_百"));
  EXPECT_FALSE(fresh.Checked("单选框_个"));
  for (std::size_t i = 0; i < kNumbers.size(); ++i) {
    EXPECT_EQ(fresh.Text(kNumbers[i]), numbers[i]) << kNumbers[i];
  }
  EXPECT_TRUE(fresh.Checked("选择框_定位自定义公式"));
  EXPECT_FALSE(fresh.Checked("选择框_二星自定义公式"));
  EXPECT_TRUE(fresh.Checked("选择框_三星自定义公式"));
  for (std::size_t i = 0; i < kOwnFormulas.size(); ++i) {
    EXPECT_EQ(fresh.Text(kOwnFormulas[i]), formulas[i]) << kOwnFormulas[i];
  }
}

TEST_F(SettingsFileTest, AnOwnFormulaComesBackAsTypedAndIsStoredAsItIsWhereItCanBe) {
  // Blanks at either end and quotes around a value are lost on read unless
  // the value is quoted; anything else is written unchanged, in GBK.
  struct Case {
    std::string formula;
    std::string stored;
  };
  const std::vector<Case> cases = {
      {"DCC*657", "DCC*657"},
      {"万位 A+B", "万位 A+B"},
      {" DCC*657", "\" DCC*657\""},
      {"DCC*657\t", "\"DCC*657\t\""},
      {"\"A+B\"", "\"\"A+B\"\""},
      {"'A'", "\"'A'\""},
      {"\"A+B", "\"A+B"},
      {"'", "'"},
      {" ", "\" \""},
  };
  for (const Case& c : cases) {
    window.SetText("编辑框_二星公式", c.formula);
    ASSERT_TRUE(SaveSettings(ctx).ok()) << c.formula;
    auto raw = base::ReadSmallFile(File());
    ASSERT_TRUE(raw.ok());
    EXPECT_NE(raw.value().find(*base::Utf8ToGbk("[5]\r\n1=\r\n2=" + c.stored + "\r\n3=\r\n")),
              std::string::npos)
        << c.formula;
    ui::MemoryWindow fresh;
    core::Env freshCtx{fresh, dir.path(), dir.path(), lottery::Chongqing()};
    LoadSettings(freshCtx);
    EXPECT_EQ(fresh.Text("编辑框_二星公式"), c.formula);
  }
}

TEST_F(SettingsFileTest, AFileFromBeforeTheOwnFormulasLeavesThemAsTheyAre) {
  for (const auto& name : kOwnFormulaBoxes) window.SetChecked(name, true);
  for (const auto& name : kOwnFormulas) window.SetText(name, "ABC+1");
  WriteUtf8File(
      "[1]\r\n1=真\r\n2=假\r\n3=假\r\n"
      "[2]\r\n1=真\r\n2=假\r\n3=假\r\n4=假\r\n5=假\r\n6=假\r\n7=真\r\n8=真\r\n9=假\r\n10=真\r\n"
      "11=假\r\n"
      "[3]\r\n1=4\r\n2=5\r\n3=3\r\n4=8\r\n5=3\r\n6=8\r\n");
  LoadSettings(ctx);
  EXPECT_TRUE(window.Checked("选择框_定位更新"));
  EXPECT_EQ(window.Text("编辑框_定位期数"), "4");
  for (const auto& name : kOwnFormulaBoxes) EXPECT_TRUE(window.Checked(name)) << name;
  for (const auto& name : kOwnFormulas) EXPECT_EQ(window.Text(name), "ABC+1") << name;

  // Only the keys the file has are taken; the others stay.
  WriteUtf8File("[4]\r\n2=假\r\n[5]\r\n3=定位*2\r\n");
  LoadSettings(ctx);
  EXPECT_TRUE(window.Checked("选择框_定位自定义公式"));
  EXPECT_FALSE(window.Checked("选择框_二星自定义公式"));
  EXPECT_TRUE(window.Checked("选择框_三星自定义公式"));
  EXPECT_EQ(window.Text("编辑框_定位公式"), "ABC+1");
  EXPECT_EQ(window.Text("编辑框_三星公式"), "定位*2");
}

TEST_F(SettingsFileTest, NoFileKeepsTheFormValues) {
  LoadSettings(ctx);
  EXPECT_TRUE(window.Checked("单选框_个"));
  EXPECT_TRUE(window.Checked("单选框_数据源1"));
  EXPECT_FALSE(window.Checked("选择框_定位更新"));
  EXPECT_EQ(window.Text("编辑框_定位码数"), "5");
  EXPECT_EQ(window.Text("编辑框_后三码数"), "8");
  EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(SettingsFileTest, OnlySectionTwoSetsTheRadiosAndLeavesTheOtherControlsAlone) {
  for (const auto& name : kAutoUpdate) window.SetChecked(name, true);
  WriteUtf8File(
      "[2]\r\n1=假\r\n2=真\r\n3=真\r\n4=假\r\n5=假\r\n6=假\r\n7=假\r\n8=假\r\n9=真\r\n10=假\r\n"
      "11=真\r\n");
  LoadSettings(ctx);
  // Keys the file lacks cannot be read: their controls keep what they show.
  for (const auto& name : kAutoUpdate) EXPECT_TRUE(window.Checked(name)) << name;
  const std::vector<std::string> formNumbers = {"3", "5", "3", "8", "3", "8"};
  for (std::size_t i = 0; i < kNumbers.size(); ++i) {
    EXPECT_EQ(window.Text(kNumbers[i]), formNumbers[i]) << kNumbers[i];
  }
  const std::vector<bool> radios = {false, true,  true, false, false, false,
                                    false, false, true, false, true};
  for (std::size_t i = 0; i < kRadios.size(); ++i) {
    EXPECT_EQ(window.Checked(kRadios[i]), radios[i]) << kRadios[i];
  }
}

TEST_F(SettingsFileTest, AFileWithoutOurKeysKeepsEveryFormValue) {
  std::string garbage(4096, '\0');
  std::mt19937 random(8);
  for (char& b : garbage) b = static_cast<char>(random());
  for (const std::string& content :
       {std::string(), garbage, std::string("[2]\r\n; nothing here\r\n[3]\r\n"),
        std::string("1=假\r\n2=假\r\n[其他]\r\n1=假\r\n")}) {
    ASSERT_TRUE(base::WriteFileAtomically(File(), content).ok());
    ui::MemoryWindow fresh;
    core::Env freshCtx{fresh, dir.path(), dir.path(), lottery::Chongqing()};
    LoadSettings(freshCtx);
    // Both data sources unchecked would make the first refresh load nothing.
    EXPECT_TRUE(fresh.Checked("单选框_数据源1")) << content.substr(0, 40);
    EXPECT_FALSE(fresh.Checked("单选框_数据源2"));
    EXPECT_TRUE(fresh.Checked("单选框_个"));
    EXPECT_TRUE(fresh.Checked("单选框_后二复试"));
    EXPECT_TRUE(fresh.Checked("单选框_后三组选"));
    EXPECT_EQ(fresh.Text("编辑框_定位码数"), "5");
    EXPECT_EQ(fresh.Text("编辑框_后三码数"), "8");
  }
}

TEST_F(SettingsFileTest, OnlyTheExactFalseTextUnchecks) {
  struct Case {
    std::string value;
    bool checked;
  };
  const std::vector<Case> cases = {
      {"真", true}, {"1", true}, {"", true}, {"0", true}, {"false", true}, {"假", false},
  };
  for (const auto& c : cases) {
    window.SetChecked("选择框_后二更新", !c.checked);
    WriteUtf8File("[1]\r\n2=" + c.value + "\r\n");
    LoadSettings(ctx);
    EXPECT_EQ(window.Checked("选择框_后二更新"), c.checked) << "value \"" << c.value << "\"";
  }
}

TEST_F(SettingsFileTest, NumberBoxesTakeTheValueUncheckedAndKeepTheirsWithoutOne) {
  WriteUtf8File("[3]\r\n1=12\r\n2=\r\n3=x\r\n");
  LoadSettings(ctx);
  EXPECT_EQ(window.Text("编辑框_定位期数"), "12");
  EXPECT_EQ(window.Text("编辑框_定位码数"), "");
  EXPECT_EQ(window.Text("编辑框_后二期数"), "x");
  EXPECT_EQ(window.Text("编辑框_后三码数"), "8");  // missing key: the form value stays
}

TEST_F(SettingsFileTest, ReadsAFileWrittenInUtf8) {
  ASSERT_TRUE(base::WriteFileAtomically(File(), "[2]\n1=假\n2=真\n").ok());
  LoadSettings(ctx);
  EXPECT_FALSE(window.Checked("单选框_数据源1"));
  EXPECT_TRUE(window.Checked("单选框_数据源2"));
}

TEST_F(SettingsFileTest, SavingTwiceLeavesTheFileByteIdentical) {
  window.SetText("编辑框_后二码数", "");
  ASSERT_TRUE(SaveSettings(ctx).ok());
  auto first = base::ReadSmallFile(File());
  ASSERT_TRUE(SaveSettings(ctx).ok());
  auto second = base::ReadSmallFile(File());
  ASSERT_TRUE(first.ok() && second.ok());
  EXPECT_EQ(first.value(), second.value());
}

TEST_F(SettingsFileTest, SaveKeepsOtherSectionsKeysAndComments) {
  WriteUtf8File("; 用户的注释\r\n[其他]\r\nk=v\r\n[2]\r\n12=extra\r\n");
  ASSERT_TRUE(SaveSettings(ctx).ok());
  EXPECT_EQ(storage::ReadIniKey(File(), "其他", "k", ""), "v");
  EXPECT_EQ(storage::ReadIniKey(File(), "2", "12", ""), "extra");
  EXPECT_EQ(storage::ReadIniKey(File(), "2", "7", ""), "真");
  auto raw = base::ReadSmallFile(File());
  ASSERT_TRUE(raw.ok());
  EXPECT_EQ(base::DecodeGbkOrUtf8(raw.value()).rfind("; 用户的注释\r\n", 0), 0u);
}

TEST_F(SettingsFileTest, SaveButtonWritesTheFile) {
  BindSettingsHandlers(ctx);
  window.Click("单选框_万");
  window.Click("超级按钮_保存设置");
  EXPECT_EQ(storage::ReadIniKey(File(), "2", "3", ""), "真");
  EXPECT_EQ(storage::ReadIniKey(File(), "2", "7", ""), "假");
}

TEST_F(SettingsFileTest, AFailedSaveSaysWhichFileAndWhy) {
  // sz.ini is a directory: nothing can be written, and it stays a directory.
  std::filesystem::create_directory(File());
  EXPECT_FALSE(SaveSettings(ctx).ok());
  EXPECT_TRUE(std::filesystem::is_directory(File()));

  // The data directory itself is missing.
  core::Env gone{window, dir.path() / "missing", dir.path(), lottery::Chongqing()};
  EXPECT_FALSE(SaveSettings(gone).ok());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));

  ASSERT_EQ(window.Messages().size(), 2u);
  EXPECT_EQ(window.Messages()[0].caption, "保存设置");
  EXPECT_TRUE(Says(window.Messages()[0].text, File().string()));
  EXPECT_TRUE(Says(window.Messages()[0].text, "不是普通文件"));
  EXPECT_TRUE(Says(window.Messages()[1].text, (dir.path() / "missing" / "sz.ini").string()));
  EXPECT_TRUE(Says(window.Messages()[1].text, "无法写入"));
}

TEST_F(SettingsFileTest, AFileOverTheSizeLimitIsLeftAloneAndTheUserTold) {
  {
    std::ofstream big(File(), std::ios::binary);
    big << "[其他]\r\nk=v\r\n";
  }
  std::filesystem::resize_file(File(), 5u << 20);
  BindSettingsHandlers(ctx);
  window.Click("超级按钮_保存设置");
  EXPECT_EQ(std::filesystem::file_size(File()), 5u << 20);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_TRUE(Says(window.Messages()[0].text, File().string()));
  EXPECT_TRUE(Says(window.Messages()[0].text, "4 MB"));
}

TEST_F(SettingsFileTest, SaveKeepsEveryLineItDoesNotSetByteForByte) {
  // Bytes GBK has no character for, a lone lead byte, LF line ends, odd
  // spacing and a last line without its line break: none of it is ours.
  auto gbk = [](const std::string& text) { return *base::Utf8ToGbk(text); };
  const std::string before = "; \xff\xfe \x81\n" + gbk("[其他]\r\n") + "  k = \x80v\xff\r\n" +
                             "[2]\r\n 12 = x\r\n" + gbk("7=假\r\n") + "; the end";
  ASSERT_TRUE(base::WriteFileAtomically(File(), before).ok());
  ASSERT_TRUE(SaveSettings(ctx).ok());
  auto raw = base::ReadSmallFile(File());
  ASSERT_TRUE(raw.ok());
  // Key 7 is set in its line; the last line gets the line end new lines
  // need, in the file's own style, as do the keys and sections added.
  const std::string after = "; \xff\xfe \x81\n" + gbk("[其他]\r\n") + "  k = \x80v\xff\r\n" +
                            "[2]\r\n 12 = x\r\n" + gbk("7=真\r\n") + "; the end\n" +
                            gbk("1=真\n2=假\n3=假\n4=假\n5=假\n6=假\n8=真\n9=假\n10=真\n11=假\n") +
                            gbk("[1]\n1=假\n2=假\n3=假\n") + "[3]\n1=3\n2=5\n3=3\n4=8\n5=3\n6=8\n" +
                            gbk("[4]\n1=假\n2=假\n3=假\n") + "[5]\n1=\n2=\n3=\n";
  EXPECT_EQ(raw.value(), after);
  EXPECT_TRUE(window.Messages().empty());
}

TEST_F(SettingsFileTest, SaveWritesThroughALinkAndKeepsTheMode) {
  const auto shared = dir.path() / "shared";
  std::filesystem::create_directory(shared);
  const auto target = shared / "lanzhou.ini";
  WriteUtf8File("");
  std::filesystem::rename(File(), target);
  std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
  std::filesystem::create_symlink("shared/lanzhou.ini", File());

  window.Click("单选框_万");
  ASSERT_TRUE(SaveSettings(ctx).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(File()));
  EXPECT_EQ(storage::ReadIniKey(target, "2", "3", ""), "真");
  EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::group_read);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(shared),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(SettingsFileTest, AUtf8FileStaysUtf8AndAGbkFileSaysWhatItCannotHold) {
  const std::string utf8 = "[其他]\nnote=旗帜 \xf0\x9f\x9a\xa9\n[2]\n1=假\n";
  ASSERT_TRUE(base::WriteFileAtomically(File(), utf8).ok());
  window.SetText("编辑框_定位期数", "\xf0\x9f\x98\x80");  // an emoji
  ASSERT_TRUE(SaveSettings(ctx).ok());
  auto raw = base::ReadSmallFile(File());
  ASSERT_TRUE(raw.ok());
  EXPECT_TRUE(base::IsValidUtf8(raw.value()));
  EXPECT_EQ(raw.value().rfind("[其他]\nnote=旗帜 \xf0\x9f\x9a\xa9\n[2]\n1=真\n2=假\n", 0), 0u)
      << raw.value();
  EXPECT_EQ(storage::ReadIniKey(File(), "3", "1", ""), "\xf0\x9f\x98\x80");
  EXPECT_TRUE(window.Messages().empty());

  // In a GBK file the emoji has no bytes: the other keys are saved, the old
  // value stays, and the user learns which key and why.
  WriteUtf8File("[3]\r\n1=4\r\n");
  EXPECT_FALSE(SaveSettings(ctx).ok());
  EXPECT_EQ(storage::ReadIniKey(File(), "3", "1", ""), "4");
  EXPECT_EQ(storage::ReadIniKey(File(), "3", "2", ""), "5");
  EXPECT_EQ(storage::ReadIniKey(File(), "2", "7", ""), "真");
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_TRUE(Says(window.Messages()[0].text, File().string()));
  EXPECT_TRUE(Says(window.Messages()[0].text, "[3] 1"));
  EXPECT_TRUE(Says(window.Messages()[0].text, "GBK"));
}

TEST_F(SettingsFileTest, UnreadableFileKeepsTheFormValues) {
  std::filesystem::create_directory(File());
  window.SetText("编辑框_定位码数", "7");
  LoadSettings(ctx);
  EXPECT_EQ(window.Text("编辑框_定位码数"), "7");
  EXPECT_TRUE(window.Checked("单选框_个"));
}

TEST_F(SettingsFileTest, ANumberBoxWithALineBreakCannotCorruptTheFile) {
  ASSERT_TRUE(SaveSettings(ctx).ok());
  window.SetText("编辑框_定位期数", "4\r\n[2]\r\n7=假");
  window.SetText("编辑框_定位码数", "6");
  EXPECT_FALSE(SaveSettings(ctx).ok());
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_TRUE(Says(window.Messages()[0].text, "[3] 1 含有换行"));
  EXPECT_EQ(storage::ReadIniKey(File(), "3", "1", ""), "3");  // the old value stays
  EXPECT_EQ(storage::ReadIniKey(File(), "3", "2", ""), "6");  // the other keys are written
  EXPECT_EQ(storage::ReadIniKey(File(), "2", "7", ""), "真");
}

}  // namespace
}  // namespace settings
