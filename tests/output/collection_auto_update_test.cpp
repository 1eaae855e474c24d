// The collection follows the automatic update: a new draw from the feed ends
// up in the collection's plans and draw line without a click.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/area_states.h"
#include "draws/auto_update.h"
#include "lottery/lottery.h"
#include "net/http_server.h"
#include "output/output_handlers.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace output {
namespace {

using namespace std::chrono;

class CollectionAutoUpdate : public testing::Test {
 protected:
  CollectionAutoUpdate()
      : ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())} {
    BindOutputHandlers(ctx);
    const std::pair<const char*, const char*> history[] = {
        {"20140301-030", "52917"}, {"20140301-029", "60438"}, {"20140301-028", "13579"},
        {"20140301-027", "88210"}, {"20140301-026", "47302"}, {"20140301-025", "95161"},
        {"20140301-024", "38149"}, {"20140301-023", "20486"}};
    for (const auto& [issue, digits] : history) {
      const int row = window.InsertRow("列表框_开奖", -1);
      window.SetCell("列表框_开奖", row, 0, issue);
      window.SetCell("列表框_开奖", row, 1, digits);
      window.AddItem("组合框_定位起始期1", issue);
    }
    window.SetText("透明标签_显示期号", " 第:20140301-030 期");
    window.SetCurrentIndex("组合框_定位起始期1", 5);  // 20140301-025
    window.SetChecked("选择框_定位更新", true);
    window.SetText("编辑框_集合定位行", "1");
    window.SetText("编辑框_集合二星位", "");
    window.SetText("编辑框_集合三星位", "");
    window.SetText("编辑框_提示语", "");
    EXPECT_TRUE(storage::WriteIniKey(dir.path() / "gs.ini", "1", "1", "68,67,67,42,54,53,55").ok());

    // Both feeds carry draw 031; the first one answers.
    const lottery::SourcePages& pages = lottery::Chongqing().sources;
    for (const std::string& path : {pages.firstFeed, pages.secondFeed}) {
      server.server().Get(path, [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "<xml><row expect=\"20140301031\" opencode=\"0,0,0,0,0\" "
            "opentime=\"2014-03-01 10:10:00\" starttime=\"\" order=\"1\"/></xml>",
            "text/xml");
      });
    }
    const std::string base = server.Url("");
    EXPECT_TRUE(storage::WriteIniKey(dir.path() / "sources.ini", "sources", "feed1", base).ok());
    EXPECT_TRUE(storage::WriteIniKey(dir.path() / "sources.ini", "sources", "feed2", base).ok());
    window.SetClock(local_days(2014y / March / 1) + hours(10) + minutes(10));
  }

  TempDir dir;
  HttpServer server;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx;
};

TEST_F(CollectionAutoUpdate, NewDrawRebuildsTheCollectionWhileAutoIsChecked) {
  window.Click("按钮_集合开始");
  ASSERT_EQ(window.Text("编辑框_计划和集"),
            "029—031后一定位胆（01235）等待【3】\r\n————————————————\r\n"
            "重庆:20140301-030 期开[52917]\r\n");

  draws::AutoUpdateDraws(ctx);
  ASSERT_EQ(window.Cell("列表框_开奖", 0, 0), "20140301-031");
  const std::string collection = window.Text("编辑框_计划和集");
  EXPECT_EQ(collection.rfind("032—034后一定位胆（", 0), 0u) << collection;
  EXPECT_NE(collection.find("等待【1】\r\n————————————————\r\n重庆:20140301-031 期开[00000]\r\n"),
            std::string::npos)
      << collection;
}

TEST_F(CollectionAutoUpdate, CollectionStaysWhenAutoIsUnchecked) {
  window.Click("选择框_集合自动");
  window.Click("按钮_集合开始");
  const std::string before = window.Text("编辑框_计划和集");
  draws::AutoUpdateDraws(ctx);
  ASSERT_EQ(window.Cell("列表框_开奖", 0, 0), "20140301-031");
  EXPECT_EQ(window.Text("编辑框_计划和集"), before);
}

}  // namespace
}  // namespace output
