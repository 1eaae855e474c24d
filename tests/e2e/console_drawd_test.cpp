// The real program (`lanzhou --console`) against the real local draw mirror
// (`lanzhou-drawd`): the first refresh fills the list and the pictures, and
// the next draw minute brings the new draw to the top.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "child_process/child_process.h"
#include "mirror_draws.h"
#include "storage/ini_file.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono;

const std::filesystem::path kBin = LANZHOU_TEST_BIN_DIR;

class ConsoleDrawdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drawsFile = dir.path() / "draws.txt";
    std::ofstream out(drawsFile);
    for (auto [day, last] : {std::pair{2014y / January / 4d, 120}, {2014y / January / 5d, 50}}) {
      for (int sequence = 1; sequence <= last; ++sequence) {
        const lottery::Draw draw = drawd::SimulatedDraw({day, sequence});
        out << draw.issue << ' ' << draw.code << '\n';
      }
    }
  }

  // Starts the mirror on a free port and names it in sources.ini.
  void StartMirror() {
    mirror.emplace(std::vector<std::string>{(kBin / "lanzhou-drawd").string(), "--port", "0",
                                            "--draws", drawsFile.string()});
    ASSERT_TRUE(mirror->started());
    std::string banner = mirror->ReadLine(10000).value_or("");
    std::size_t at = banner.find("http://127.0.0.1:");
    ASSERT_NE(at, std::string::npos) << banner;
    std::string base = banner.substr(at);
    for (const char* key : {"history", "feed1", "feed2", "video"}) {
      ASSERT_TRUE(storage::WriteIniKey(dir.path() / "sources.ini", "sources", key, base).ok());
    }
    ASSERT_TRUE(storage::WriteIniKey(dir.path() / "sources.ini", "sources", "announcement",
                                     base + "/announcement.html")
                    .ok());
    announcement = base + "/announcement.html";
  }

  TempDir dir;
  std::filesystem::path drawsFile;
  std::optional<ChildProcess> mirror;
  std::string announcement;
};

TEST_F(ConsoleDrawdTest, FirstRefreshFillsTheListThenADrawMinuteInsertsTheNewDraw) {
  StartMirror();
  ChildProcess console({(kBin / "lanzhou").string(), "--console", "--data-dir", dir.path().string(),
                        "--clock", "2014-01-05T14:25:00"});
  ASSERT_TRUE(console.started());

  std::string newest = drawd::SimulatedCode(2014y / January / 5d, 50);
  EXPECT_EQ(console.Ask("count 列表框_开奖"), "170");
  EXPECT_EQ(console.Ask("cell 列表框_开奖 0 0"), "20140105-050");
  EXPECT_EQ(console.Ask("cell 列表框_开奖 0 1"), newest);
  EXPECT_EQ(console.Ask("cell 列表框_开奖 169 0"), "20140104-001");
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(console.Ask("picture 图片框" + std::to_string(k + 1)),
              "digit:" + std::string(1, newest[k]));
  }
  EXPECT_EQ(console.Ask("text 透明标签_显示期号"), " 第:20140105-050 期");
  EXPECT_EQ(console.Ask("interval 时钟_自动更新"), "1000");
  EXPECT_EQ(console.Ask("text 标签_提示"), "当前彩种 [重庆]");
  EXPECT_EQ(console.Ask("address 超文本浏览框1"), announcement);

  // the 14:30 draw is recorded, then the program's clock reaches 14:30
  std::ofstream(drawsFile, std::ios::app) << "20140105-051 90817\n";
  ASSERT_TRUE(console.WriteLine("wait 300000"));
  EXPECT_EQ(console.Ask("count 列表框_开奖"), "171");
  EXPECT_EQ(console.Ask("cell 列表框_开奖 0 0"), "20140105-051");
  EXPECT_EQ(console.Ask("cell 列表框_开奖 0 1"), "90817");
  EXPECT_EQ(console.Ask("cell 列表框_开奖 1 0"), "20140105-050");
  EXPECT_EQ(console.Ask("picture 图片框1"), "digit:9");
  EXPECT_EQ(console.Ask("picture 图片框5"), "digit:7");
  EXPECT_EQ(console.Ask("text 透明标签_显示期号"), " 第:20140105-051 期");
  EXPECT_EQ(console.Ask("interval 时钟_倒计时"), "1000");
  console.WriteLine("quit");
}

TEST_F(ConsoleDrawdTest, MirrorAnswersBadRequestsWith4xxAndKeepsServing) {
  StartMirror();
  httplib::Client client(announcement.substr(0, announcement.rfind('/')));
  const std::string page = "/kaijiang/kaijiang?lotId=255401&spanType=2&span=";
  struct Case {
    std::string path;
    int status;
  };
  for (const Case& c : std::vector<Case>{
           {page + "2014-01-05_2014-01-05", 200},
           {page + "2014-01-05_2014-01-06", 400},
           {page + "2014-13-05_2014-13-05", 400},
           {page + "2014-01-05", 400},
           {page, 400},
           {"/kaijiang/kaijiang?lotId=1&spanType=2&span=2014-01-05_2014-01-05", 400},
           {"/kaijiang/kaijiang", 400},
           {"/assist/bonusvideo.aspx?lt=5", 400},
           {"/assist/bonusvideo.aspx?lt=4", 200},
           {"/jxssc/", 200},
           {"/announcement.html", 200},
           {"/static/public/ssc/xml/newlyopen.xml", 200},
           {"/static/ssc/newlyopenlist.xml", 200},
           {"/../../etc/passwd", 404},
           {"/nothing-here", 404},
       }) {
    auto response = client.Get(c.path);
    ASSERT_TRUE(response) << c.path;
    EXPECT_EQ(response->status, c.status) << c.path;
  }
  auto feed = client.Get("/static/ssc/newlyopenlist.xml");
  ASSERT_TRUE(feed);
  EXPECT_NE(feed->body.find("expect=\"20140105050\""), std::string::npos) << feed->body;
}

}  // namespace
