#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "area_states.h"
#include "base/atomic_file.h"
#include "base/codepage.h"
#include "settings/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace settings {
namespace {

const std::vector<std::string> kAutoUpdate = {"选择框_定位更新", "选择框_后二更新",
                                              "选择框_后三更新"};
const std::vector<std::string> kRadios = {
    "单选框_数据源1",      "单选框_数据源2",  "单选框_万",          "单选框_千",
    "单选框_百",           "单选框_十",       "单选框_个",          "单选框_后二复试",
    "单选框_后二直选复试", "单选框_后三组选", "单选框_后三直选复试"};
const std::vector<std::string> kNumbers = {"编辑框_定位期数", "编辑框_定位码数", "编辑框_后二期数",
                                           "编辑框_后二码数", "编辑框_后三期数", "编辑框_后三码数"};

class SettingsFileTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir.path() / "sz.ini"; }
  void WriteUtf8File(const std::string& content) {
    ASSERT_TRUE(base::WriteFileAtomically(File(), *base::Utf8ToGbk(content)).ok());
  }

  TempDir dir;
  ui::MemoryWindow window;
  AreaStates states;
  core::Context ctx{states.ContextFor(window, dir.path(), dir.path())};
};

TEST_F(SettingsFileTest, SaveWritesExactlyTheTwentyKeysAsTrueFalseAndText) {
  ASSERT_EQ(SaveSettings(ctx), 0);
  auto raw = base::ReadSmallFile(File());
  ASSERT_TRUE(raw.ok());
  // The form values, GBK on disk, CR LF line ends, sections in order.
  const std::string expected =
      "[1]\r\n1=假\r\n2=假\r\n3=假\r\n"
      "[2]\r\n1=真\r\n2=假\r\n3=假\r\n4=假\r\n5=假\r\n6=假\r\n7=真\r\n8=真\r\n9=假\r\n10=真\r\n"
      "11=假\r\n"
      "[3]\r\n1=3\r\n2=5\r\n3=3\r\n4=8\r\n5=3\r\n6=8\r\n";
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
  ASSERT_EQ(SaveSettings(ctx), 0);

  ui::MemoryWindow fresh;
  core::Env freshCtx{fresh, dir.path(), dir.path()};
  LoadSettings(freshCtx);
  for (const auto& name : kAutoUpdate) EXPECT_TRUE(fresh.Checked(name)) << name;
  for (const auto& name : kRadios) EXPECT_EQ(fresh.Checked(name), window.Checked(name)) << name;
  EXPECT_TRUE(fresh.Checked("单选框_百"));
  EXPECT_FALSE(fresh.Checked("单选框_个"));
  for (std::size_t i = 0; i < kNumbers.size(); ++i) {
    EXPECT_EQ(fresh.Text(kNumbers[i]), numbers[i]) << kNumbers[i];
  }
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

TEST_F(SettingsFileTest, OnlySectionTwoUnchecksTheBoxesAndEmptiesTheNumbers) {
  for (const auto& name : kAutoUpdate) window.SetChecked(name, true);
  WriteUtf8File(
      "[2]\r\n1=假\r\n2=真\r\n3=真\r\n4=假\r\n5=假\r\n6=假\r\n7=假\r\n8=假\r\n9=真\r\n10=假\r\n"
      "11=真\r\n");
  LoadSettings(ctx);
  for (const auto& name : kAutoUpdate) EXPECT_FALSE(window.Checked(name)) << name;
  for (const auto& name : kNumbers) EXPECT_EQ(window.Text(name), "") << name;
  const std::vector<bool> radios = {false, true,  true, false, false, false,
                                    false, false, true, false, true};
  for (std::size_t i = 0; i < kRadios.size(); ++i) {
    EXPECT_EQ(window.Checked(kRadios[i]), radios[i]) << kRadios[i];
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

TEST_F(SettingsFileTest, NumberBoxesTakeTheValueUnchecked) {
  WriteUtf8File("[3]\r\n1=12\r\n2=\r\n3=x\r\n");
  LoadSettings(ctx);
  EXPECT_EQ(window.Text("编辑框_定位期数"), "12");
  EXPECT_EQ(window.Text("编辑框_定位码数"), "");
  EXPECT_EQ(window.Text("编辑框_后二期数"), "x");
  EXPECT_EQ(window.Text("编辑框_后三码数"), "");  // missing key
}

TEST_F(SettingsFileTest, ReadsAFileWrittenInUtf8) {
  ASSERT_TRUE(base::WriteFileAtomically(File(), "[2]\n1=假\n2=真\n").ok());
  LoadSettings(ctx);
  EXPECT_FALSE(window.Checked("单选框_数据源1"));
  EXPECT_TRUE(window.Checked("单选框_数据源2"));
}

TEST_F(SettingsFileTest, SavingTwiceLeavesTheFileByteIdentical) {
  window.SetText("编辑框_后二码数", "");
  ASSERT_EQ(SaveSettings(ctx), 0);
  auto first = base::ReadSmallFile(File());
  ASSERT_EQ(SaveSettings(ctx), 0);
  auto second = base::ReadSmallFile(File());
  ASSERT_TRUE(first.ok() && second.ok());
  EXPECT_EQ(first.value(), second.value());
}

TEST_F(SettingsFileTest, SaveKeepsOtherSectionsKeysAndComments) {
  WriteUtf8File("; 用户的注释\r\n[其他]\r\nk=v\r\n[2]\r\n12=extra\r\n");
  ASSERT_EQ(SaveSettings(ctx), 0);
  EXPECT_EQ(ReadIniKey(File(), "其他", "k", ""), "v");
  EXPECT_EQ(ReadIniKey(File(), "2", "12", ""), "extra");
  EXPECT_EQ(ReadIniKey(File(), "2", "7", ""), "真");
  auto raw = base::ReadSmallFile(File());
  ASSERT_TRUE(raw.ok());
  EXPECT_EQ(base::DecodeGbkOrUtf8(raw.value()).rfind("; 用户的注释\r\n", 0), 0u);
}

TEST_F(SettingsFileTest, SaveButtonWritesTheFile) {
  BindSettingsHandlers(ctx);
  window.Click("单选框_万");
  window.Click("超级按钮_保存设置");
  EXPECT_EQ(ReadIniKey(File(), "2", "3", ""), "真");
  EXPECT_EQ(ReadIniKey(File(), "2", "7", ""), "假");
}

TEST_F(SettingsFileTest, FailedWritesAreSilentAndEveryKeyIsStillTried) {
  // sz.ini is a directory: no key can be written, none may throw.
  std::filesystem::create_directory(File());
  EXPECT_EQ(SaveSettings(ctx), 20);
  EXPECT_TRUE(std::filesystem::is_directory(File()));

  // The data directory itself is missing.
  core::Env gone{window, dir.path() / "missing", dir.path()};
  EXPECT_EQ(SaveSettings(gone), 20);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

TEST_F(SettingsFileTest, UnreadableFileKeepsTheFormValues) {
  std::filesystem::create_directory(File());
  window.SetText("编辑框_定位码数", "7");
  LoadSettings(ctx);
  EXPECT_EQ(window.Text("编辑框_定位码数"), "7");
  EXPECT_TRUE(window.Checked("单选框_个"));
}

TEST_F(SettingsFileTest, ANumberBoxWithALineBreakCannotCorruptTheFile) {
  ASSERT_EQ(SaveSettings(ctx), 0);
  window.SetText("编辑框_定位期数", "4\r\n[2]\r\n7=假");
  window.SetText("编辑框_定位码数", "6");
  EXPECT_EQ(SaveSettings(ctx), 1);
  EXPECT_EQ(ReadIniKey(File(), "3", "1", ""), "3");  // the old value stays
  EXPECT_EQ(ReadIniKey(File(), "3", "2", ""), "6");  // the other keys are written
  EXPECT_EQ(ReadIniKey(File(), "2", "7", ""), "真");
}

}  // namespace
}  // namespace settings
