#include "push/push_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/atomic_file.h"
#include "temp_dir.h"

namespace push {
namespace {

using std::filesystem::perms;

const char kExample[] =
    "; 群发的群\r\n"
    "[工作群]\r\n"
    "type = wecom\r\n"
    "url = https://qyapi.weixin.qq.com/cgi-bin/webhook/send?key=abc\r\n"
    "checked=1\r\n"
    "\r\n"
    "[钉钉群]\r\n"
    "type=dingtalk\r\n"
    "url=https://oapi.dingtalk.com/robot/send?access_token=t\r\n"
    "secret=SEC1\r\n"
    "# 没有 checked\r\n"
    "[飞书群]\r\n"
    "TYPE=Feishu\r\n"
    "Url=https://open.feishu.cn/open-apis/bot/v2/hook/u\r\n"
    "checked=0\r\n"
    "[电报群]\r\n"
    "type=telegram\r\n"
    "url=https://api.telegram.org/bot1:x\r\n"
    "chat_id=-100\r\n"
    "checked=yes\r\n";

TEST(PushFile, ReadsGroupsInFileOrder) {
  const std::vector<Group> groups = ParseGroups(kExample);
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(groups[0].name, "工作群");
  EXPECT_EQ(groups[0].platform, Platform::kWecom);
  EXPECT_EQ(groups[0].url, "https://qyapi.weixin.qq.com/cgi-bin/webhook/send?key=abc");
  EXPECT_TRUE(groups[0].checked);
  EXPECT_EQ(groups[1].name, "钉钉群");
  EXPECT_EQ(groups[1].platform, Platform::kDingtalk);
  EXPECT_EQ(groups[1].secret, "SEC1");
  EXPECT_FALSE(groups[1].checked);
  EXPECT_EQ(groups[2].platform, Platform::kFeishu);
  EXPECT_EQ(groups[2].url, "https://open.feishu.cn/open-apis/bot/v2/hook/u");
  EXPECT_EQ(groups[3].platform, Platform::kTelegram);
  EXPECT_EQ(groups[3].chatId, "-100");
  EXPECT_TRUE(groups[3].checked);
  for (const Group& group : groups) EXPECT_EQ(group.configError, "") << group.name;
}

TEST(PushFile, NamesWhatIsWrongWithAGroup) {
  struct Case {
    const char* section;
    const char* error;
  };
  const Case cases[] = {
      {"[a]\nurl=http://h/\n", "配置错误：缺少 type"},
      {"[a]\ntype=slack\nurl=http://h/\n", "配置错误：未知的 type"},
      {"[a]\ntype=webhook\n", "配置错误：缺少 url"},
      {"[a]\ntype=webhook\nurl=\n", "配置错误：缺少 url"},
      {"[a]\ntype=webhook\nurl=ftp://h/x\n", "配置错误：url 不是 http/https 地址"},
      {"[a]\ntype=webhook\nurl=file:///etc/passwd\n", "配置错误：url 不是 http/https 地址"},
      {"[a]\ntype=webhook\nurl=http://\n", "配置错误：url 不是 http/https 地址"},
      {"[a]\ntype=webhook\nurl=http://h/a b\n", "配置错误：url 不是 http/https 地址"},
      {"[a]\ntype=telegram\nurl=https://h/bot1\n", "配置错误：缺少 chat_id"},
      {"[]\ntype=webhook\nurl=http://h/\n", "配置错误：群名为空"},
      {"[a]\ntype=webhook\nurl=HTTP://h/\n", ""},
      {"[a]\ntype=dingtalk\nurl=https://h/robot/send?access_token=1\n", ""},
  };
  for (const Case& c : cases) {
    const std::vector<Group> groups = ParseGroups(c.section);
    ASSERT_EQ(groups.size(), 1u) << c.section;
    EXPECT_EQ(groups[0].configError, c.error) << c.section;
    EXPECT_FALSE(IsSendable(groups[0]) && groups[0].configError != "");
  }
}

TEST(PushFile, ASecondGroupOfTheSameNameIsAConfigError) {
  const std::vector<Group> groups =
      ParseGroups("[a]\ntype=webhook\nurl=http://h/1\n[a]\ntype=webhook\nurl=http://h/2\n");
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].configError, "");
  EXPECT_EQ(groups[1].configError, "配置错误：群名重复");
}

TEST(PushFile, OnlyCheckedWellConfiguredGroupsAreSendable) {
  const std::vector<Group> groups = ParseGroups(
      "[on]\ntype=webhook\nurl=http://h/\nchecked=1\n"
      "[off]\ntype=webhook\nurl=http://h/\nchecked=0\n"
      "[broken]\ntype=webhook\nchecked=1\n");
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_TRUE(IsSendable(groups[0]));
  EXPECT_FALSE(IsSendable(groups[1]));
  EXPECT_FALSE(IsSendable(groups[2]));
}

TEST(PushFile, BomLinesBeforeSectionsAndCommentsAreNotGroups) {
  const std::vector<Group> groups = ParseGroups(
      "\xEF\xBB\xBF; 注释\ntype=webhook\n[a]\n#url=http://x/\ntype=webhook\n"
      "url=http://h/\nurl=http://second/\n");
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].name, "a");
  EXPECT_EQ(groups[0].url, "http://h/");  // the first of a repeated key counts
}

TEST(PushFile, CheckStatesChangeOnlyTheCheckedLines) {
  std::vector<Group> groups = ParseGroups(kExample);
  groups[0].checked = false;  // had checked=1
  groups[1].checked = true;   // had none
  groups[2].checked = true;   // had checked=0
  const std::string written = SetCheckedStates(kExample, groups);
  std::string expected = kExample;
  expected.replace(expected.find("checked=1\r\n"), 11, "checked=0\r\n");
  expected.insert(expected.find("# 没有 checked"), "checked=1\r\n");
  expected.replace(expected.find("checked=0\r\n[电报群]"), 9, "checked=1");
  expected.replace(expected.find("checked=yes"), 11, "checked=1");
  EXPECT_EQ(written, expected);
  const std::vector<Group> reread = ParseGroups(written);
  ASSERT_EQ(reread.size(), groups.size());
  for (size_t i = 0; i < groups.size(); ++i) EXPECT_EQ(reread[i].checked, groups[i].checked) << i;
}

TEST(PushFile, CheckStatesInEdgeCases) {
  struct Case {
    const char* content;
    bool checked;
    const char* expected;
  };
  const Case cases[] = {
      // the last line has no line end
      {"[a]\ntype=webhook", true, "[a]\ntype=webhook\nchecked=1"},
      {"[a]", true, "[a]\nchecked=1"},
      {"[a]\n", false, "[a]\nchecked=0\n"},
      // a last line ending in a lone CR keeps it: the added line end is CR LF
      {"[a]\nchat_id=41\r", true, "[a]\nchat_id=41\r\r\nchecked=1"},
      // spacing before "=" stays, every checked line of the section follows
      {"[a]\n  Checked = 1\nchecked=1\n", false, "[a]\n  Checked =0\nchecked=0\n"},
      // a section of another name, and a key before any section, stay
      {"checked=1\n[b]\nchecked=1\n[a]\n", false, "checked=1\n[b]\nchecked=1\n[a]\nchecked=0\n"},
      {"[a]\r\ntype=webhook\r\n\r\n; 尾注\r\n", true,
       "[a]\r\ntype=webhook\r\nchecked=1\r\n\r\n; 尾注\r\n"},
  };
  for (const Case& c : cases) {
    Group group;
    group.name = "a";
    group.checked = c.checked;
    EXPECT_EQ(SetCheckedStates(c.content, {group}), c.expected) << c.content;
  }
}

TEST(PushFile, WritingBackLeavesTheFileTheOwnersAloneWhateverTheUmask) {
  TempDir dir;
  const auto file = dir.path() / "push.ini";
  ASSERT_TRUE(base::WriteFileAtomically(file, kExample).ok());
  std::filesystem::permissions(
      file, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
  EXPECT_TRUE(ReadableByOthers(file));

  const mode_t previous = ::umask(0);
  std::vector<Group> groups = ParseGroups(kExample);
  groups[3].checked = false;
  const base::Status written = WriteCheckedStates(file, groups);
  ::umask(previous);

  ASSERT_TRUE(written.ok()) << written.error().message;
  EXPECT_EQ(std::filesystem::status(file).permissions(), perms::owner_read | perms::owner_write);
  EXPECT_FALSE(ReadableByOthers(file));
  const base::Result<std::vector<Group>> reread = ReadGroups(file);
  ASSERT_TRUE(reread.ok());
  EXPECT_FALSE(reread.value()[3].checked);
  EXPECT_TRUE(reread.value()[0].checked);
}

TEST(PushFile, GroupReadableFileIsNoticed) {
  TempDir dir;
  const auto file = dir.path() / "push.ini";
  ASSERT_TRUE(base::WriteFileAtomically(file, kExample).ok());
  for (perms extra : {perms::none, perms::group_read, perms::others_read}) {
    std::filesystem::permissions(file, perms::owner_read | perms::owner_write | extra);
    EXPECT_EQ(ReadableByOthers(file), extra != perms::none);
  }
  EXPECT_FALSE(ReadableByOthers(dir.path() / "none.ini"));
}

TEST(PushFile, MissingOrUnreadableFileIsAnErrorAndNothingIsWritten) {
  TempDir dir;
  const auto missing = dir.path() / "push.ini";
  ASSERT_FALSE(ReadGroups(missing).ok());
  EXPECT_EQ(ReadGroups(missing).error().message, "没有 push.ini");
  EXPECT_FALSE(WriteCheckedStates(missing, ParseGroups(kExample)).ok());
  EXPECT_FALSE(std::filesystem::exists(missing));

  std::filesystem::create_directory(missing);  // a directory where the file should be
  EXPECT_EQ(ReadGroups(missing).error().message, "无法读取 push.ini");
  EXPECT_FALSE(WriteCheckedStates(missing, ParseGroups(kExample)).ok());
  EXPECT_TRUE(std::filesystem::is_directory(missing));
}

}  // namespace
}  // namespace push
