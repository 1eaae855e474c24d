#include "push/push_handlers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/area_states.h"
#include "base/atomic_file.h"
#include "lottery/lottery.h"
#include "push/push_file.h"
#include "push_harness.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace push {
namespace {

using namespace std::chrono;
using push_test::PlatformServer;

constexpr const char* kList = "超级列表框_群发";
constexpr const char* kLabel = "标签_群发状态";

class PushHandlers : public ::testing::Test {
 protected:
  PushHandlers() {
    window.SetClock(local_days{2024y / May / 10} + 20h);
    BindPushHandlers(ctx);
  }

  void WritePushIni(const std::string& text) {
    ASSERT_TRUE(base::WriteFileAtomically(dir.path() / "push.ini", text).ok());
  }
  std::string PushIni() const {
    std::ifstream in(dir.path() / "push.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Status(int row) { return window.Cell(kList, row, 2); }

  // A new draw arrives with the collection rebuilt by itself.
  void NewDraw(const std::string& issue) {
    window.InsertRow("列表框_开奖", 0);
    window.SetCell("列表框_开奖", 0, 0, issue);
    ctx.events.Raise(core::Event::CollectionRebuilt);
  }

  PlatformServer hook{R"({"errcode":0})"};
  TempDir dir;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())};
};

TEST_F(PushHandlers, RefreshListsTheGroupsWithTheirChecksAndConfigErrors) {
  WritePushIni("; my groups\n[群一]\ntype=webhook\nurl=" + hook.Url("/a") +
               "\nchecked=1\n[群二]\ntype=fax\nurl=http://127.0.0.1:1/\n");
  window.Click("按钮_群发刷新");
  ASSERT_EQ(window.RowCount(kList), 2);
  EXPECT_EQ(window.Cell(kList, 0, 0), "1");
  EXPECT_EQ(window.Cell(kList, 0, 1), "群一");
  EXPECT_TRUE(window.RowChecked(kList, 0));
  EXPECT_EQ(window.Cell(kList, 1, 1), "群二");
  EXPECT_EQ(Status(1).rfind("配置错误：", 0), 0u) << Status(1);
  EXPECT_FALSE(window.RowChecked(kList, 1));
}

TEST_F(PushHandlers, CheckStatesGoBackIntoTheFileKeepingEverythingElse) {
  WritePushIni("; my groups\n[群一]\ntype=webhook\nurl=" + hook.Url("/a") +
               "\nchecked=0\n[群二]\ntype=webhook\nurl=" + hook.Url("/b") + "\n");
  window.Click("按钮_群发刷新");
  window.Click("按钮_群发全选");
  EXPECT_TRUE(window.RowChecked(kList, 1));
  EXPECT_NE(PushIni().find("; my groups\n[群一]"), std::string::npos);
  EXPECT_NE(PushIni().find("checked=1\n[群二]"), std::string::npos);
  window.CheckRow(kList, 0, false);
  EXPECT_NE(PushIni().find("checked=0\n[群二]"), std::string::npos);
  EXPECT_EQ(
      std::filesystem::status(dir.path() / "push.ini").permissions() & std::filesystem::perms::all,
      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(PushHandlers, SendPostsTheCollectionToCheckedGroupsAndSaysWhen) {
  WritePushIni("[群一]\ntype=webhook\nurl=" + hook.Url("/a") +
               "\nchecked=1\n[群二]\ntype=webhook\nurl=" + hook.Url("/b") + "\nchecked=0\n");
  window.Click("按钮_群发刷新");
  window.SetText("编辑框_计划和集", "定位胆 5码\r\n第一期");
  window.SetText("编辑框_群间间隔", "0");
  window.Click("按钮_群发发送");
  const auto requests = hook.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/a");
  EXPECT_EQ(requests[0].body, R"({"text":"定位胆 5码\r\n第一期"})");
  EXPECT_EQ(Status(0), "已发送 20:00:00");
  EXPECT_EQ(Status(1), "");
  EXPECT_TRUE(window.Enabled("按钮_群发发送"));
}

TEST_F(PushHandlers, AnEmptyCollectionSendsNothing) {
  WritePushIni("[群一]\ntype=webhook\nurl=" + hook.Url("/a") + "\nchecked=1\n");
  window.Click("按钮_群发刷新");
  window.Click("按钮_群发发送");
  EXPECT_TRUE(hook.Requests().empty());
  EXPECT_EQ(Status(0), "没有可发送的内容");
}

TEST_F(PushHandlers, TheLabelHoldsTheWholeStatusOfTheSelectedOrElseTheLastFailedGroup) {
  const std::string refusal =
      "invalid webhook url, hint: [1715000000_abcdef], from ip: 127.0.0.1, more info at the "
      "platform's error code page";
  hook.SetAnswer([&](const push_test::Received& received, httplib::Response& response) {
    if (received.path == "/bad") {
      response.status = 403;
      response.set_content(R"({"errcode":93000,"errmsg":")" + refusal + R"("})",
                           "application/json");
    } else {
      response.set_content(R"({"errcode":0})", "application/json");
    }
  });
  WritePushIni("[群一]\ntype=wecom\nurl=" + hook.Url("/good") +
               "\nchecked=1\n[群二]\ntype=wecom\nurl=" + hook.Url("/bad") +
               "\nchecked=1\n[群三]\ntype=webhook\nurl=" + hook.Url("/good") + "\n");
  std::filesystem::permissions(dir.path() / "push.ini", std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_write |
                                                            std::filesystem::perms::others_read);
  window.Click("按钮_群发刷新");
  // Before any send, the first row that warns.
  EXPECT_EQ(window.Text(kLabel), "群一\n" + PermissionHint());

  window.SetText("编辑框_计划和集", "定位胆 5码");
  window.SetText("编辑框_群间间隔", "0");
  window.Click("按钮_群发发送");
  EXPECT_EQ(Status(0), "已发送 20:00:00");
  EXPECT_EQ(Status(1), "失败：HTTP 403 " + refusal + "（errcode 93000）");
  EXPECT_EQ(window.Text(kLabel), "群二\n" + Status(1));

  const struct {
    int row;
    std::string label;
  } picks[] = {
      {0, "群一\n已发送 20:00:00"},
      {2, ""},  // never sent to: nothing to say
      {-1, "群二\n" + Status(1)},
  };
  for (const auto& pick : picks) {
    window.SetCurrentRow(kList, pick.row);
    window.Fire(kList, ui::Event::RowClick, pick.row);
    EXPECT_EQ(window.Text(kLabel), pick.label) << pick.row;
  }
}

TEST_F(PushHandlers, AnEmptyListSaysHowToAddAGroupWithALineThatIsNoGroup) {
  const std::string file = (dir.path() / "push.ini").string();
  const std::string readme = "README 的“Chat groups (`push.ini`)”一节";
  // The section the line points to is there.
  std::ifstream in(std::filesystem::path(LANZHOU_TEST_SOURCE_DIR) / "README.md");
  const std::string readmeText(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(readmeText.find("\n### Chat groups (`push.ini`)\n"), std::string::npos);

  auto expectHowTo = [&](const std::string& when) {
    SCOPED_TRACE(when);
    ASSERT_EQ(window.RowCount(kList), 1);
    EXPECT_EQ(window.Cell(kList, 0, 0), "");
    EXPECT_EQ(window.Cell(kList, 0, 1), "列表中没有群");
    EXPECT_EQ(Status(0), "群写在 " + file + "，格式见 " + readme + "，写好后点“刷新群号”");
    EXPECT_EQ(window.Text(kLabel),
              "列表中没有群。群写在 " + file + "\n格式见 " + readme + "，写好后点“刷新群号”");
  };
  ShowGroupList(ctx);  // as the window comes up
  expectHowTo("before push.ini is read");
  for (const char* content : {static_cast<const char*>(nullptr), "; groups come here\n"}) {
    if (content != nullptr) WritePushIni(content);
    window.Click("按钮_群发刷新");
    expectHowTo(content == nullptr ? "without push.ini" : "with no group in push.ini");

    window.Click("按钮_群发全选");
    window.CheckRow(kList, 0, true);
    EXPECT_FALSE(window.RowChecked(kList, 0));
    if (content == nullptr) {
      EXPECT_FALSE(std::filesystem::exists(file));
    } else {
      EXPECT_EQ(PushIni(), content);
    }

    window.SetText("编辑框_计划和集", "定位胆 5码");
    window.Click("按钮_群发发送");
    EXPECT_TRUE(hook.Requests().empty());
    EXPECT_EQ(window.Text(kLabel), "无法发送：列表中没有群。群写在 " + file + "\n格式见 " + readme +
                                       "，写好后点“刷新群号”");
    EXPECT_EQ(window.Cell(kList, 0, 1), "列表中没有群");
  }
}

TEST_F(PushHandlers, SendingWithNoGroupToSendToSaysWhy) {
  WritePushIni("[群一]\ntype=webhook\nurl=" + hook.Url("/a") +
               "\nchecked=0\n[群二]\ntype=fax\nurl=" + hook.Url("/b") + "\nchecked=1\n");
  window.Click("按钮_群发刷新");
  window.SetText("编辑框_计划和集", "定位胆 5码");
  window.Click("按钮_群发发送");
  EXPECT_TRUE(hook.Requests().empty());
  EXPECT_EQ(window.Text(kLabel), "无法发送：没有已勾选且配置无误的群");
}

TEST_F(PushHandlers, EachDrawGoesOutOnceAutomaticallyAlsoAfterARestart) {
  WritePushIni("[群一]\ntype=webhook\nurl=" + hook.Url("/a") + "\nchecked=1\n");
  window.SetText("编辑框_计划和集", "计划");
  NewDraw("20240510-050");  // automatic sending is off
  EXPECT_TRUE(hook.Requests().empty());
  window.SetChecked("选择框_自动群发", true);
  NewDraw("20240510-051");
  NewDraw("20240510-051");  // the same draw again: not sent twice
  EXPECT_EQ(hook.Requests().size(), 1u);

  // A new program on the same data directory remembers what went out.
  ui::MemoryWindow restarted;
  app::AreaStates freshStates;
  core::Context fresh{
      freshStates.MakeContext(restarted, dir.path(), dir.path(), lottery::Chongqing())};
  BindPushHandlers(fresh);
  restarted.SetChecked("选择框_自动群发", true);
  restarted.SetText("编辑框_计划和集", "计划");
  restarted.InsertRow("列表框_开奖", 0);
  restarted.SetCell("列表框_开奖", 0, 0, "20240510-051");
  fresh.events.Raise(core::Event::CollectionRebuilt);
  EXPECT_EQ(hook.Requests().size(), 1u);
  NewDraw("20240510-052");
  EXPECT_EQ(hook.Requests().size(), 2u);
}

}  // namespace
}  // namespace push
