// The program's own wiring follows a new draw in the declared order: by the
// time the collection is rebuilt and could be sent, the archive holds the
// draw and the trend chart shows it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/program.h"
#include "archive/archive_handlers.h"
#include "core/events.h"
#include "draws/auto_update.h"
#include "lottery/lottery.h"
#include "net/http_server.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "trend/trend_chart_layout.h"
#include "ui/memory_window.h"

namespace app {
namespace {

using namespace std::chrono;

constexpr const char* kChart = "走势图_号码";

// What the rebuilt collection could be sent with, seen when it is rebuilt.
struct SeenAtRebuild {
  std::vector<lottery::Draw> archived;
  std::string chartNewestIssue;
  std::string collection;
};

class EventOrder : public testing::Test {
 protected:
  EventOrder() {
    program.Start(window, false);
    const std::pair<const char*, const char*> history[] = {
        {"20140301-030", "52917"}, {"20140301-029", "60438"}, {"20140301-028", "13579"}};
    for (const auto& [issue, digits] : history) {
      const int row = window.InsertRow("列表框_开奖", -1);
      window.SetCell("列表框_开奖", row, 0, issue);
      window.SetCell("列表框_开奖", row, 1, digits);
    }
    // Both feeds carry draw 031.
    const lottery::SourcePages& pages = lottery::Chongqing().sources;
    for (const std::string& path : {pages.firstFeed, pages.secondFeed}) {
      server.server().Get(path, [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "<xml><row expect=\"20140301031\" opencode=\"0,0,0,0,0\" "
            "opentime=\"2014-03-01 10:10:00\" starttime=\"\" order=\"1\"/></xml>",
            "text/xml");
      });
    }
    for (const char* feed : {"feed1", "feed2"}) {
      EXPECT_TRUE(
          storage::WriteIniKey(dir.path() / "sources.ini", "sources", feed, server.Url("")).ok());
    }
    window.SetClock(local_days(2014y / March / 1) + hours(10) + minutes(10));
  }

  core::Context& ctx() { return *program.context(); }

  std::string ChartNewestIssue() const {
    const int drawRows = window.RowCount(kChart) - trend::kSummaryRowCount;
    return drawRows > 0 ? window.Cell(kChart, drawRows - 1, trend::kIssueColumn) : "";
  }

  TempDir dir;
  HttpServer server;
  ui::MemoryWindow window;
  Program program{dir.path()};
};

TEST_F(EventOrder, TheCollectionIsRebuiltAfterTheArchiveAndTheChartHaveTheNewDraw) {
  std::vector<SeenAtRebuild> seen;
  ctx().events.Subscribe(core::Event::CollectionRebuilt, core::Stage::Push, [&] {
    seen.push_back({archive::NewestArchivedDraws(ctx(), 1), ChartNewestIssue(),
                    window.Text("编辑框_计划和集")});
  });
  draws::AutoUpdateDraws(ctx());

  ASSERT_EQ(window.Cell("列表框_开奖", 0, 0), "20140301-031");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].archived, (std::vector<lottery::Draw>{{"20140301-031", "00000"}}));
  EXPECT_EQ(seen[0].chartNewestIssue, "20140301-031");
  EXPECT_NE(seen[0].collection.find("重庆:20140301-031 期开[00000]"), std::string::npos)
      << seen[0].collection;
}

}  // namespace
}  // namespace app
