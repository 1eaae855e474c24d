#include "net/draw_video.h"

#include <gtest/gtest.h>

#include "app/area_states.h"
#include "lottery/lottery.h"
#include "net/cookie_store.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace {

struct DrawVideoTest : ::testing::Test {
  void SetUp() override {
    net::ProcessCookieStore().Clear();
    net::BindDrawVideoHandlers(context);
  }
  TempDir dir;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context context{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())};
};

TEST_F(DrawVideoTest, ButtonsClearCookiesThenLoadThePage) {
  ASSERT_TRUE(
      storage::WriteIniKey(dir.path() / "sources.ini", "sources", "video", "http://video.q.r:8080/")
          .ok());
  net::ProcessCookieStore().SetCookie("http://video.q.r", "s", "1");
  net::ProcessCookieStore().SetCookie("http://video.q.r", "t", "2; domain=q.r");

  window.Click("按钮_开奖刷新重庆");
  EXPECT_EQ(window.Address("超文本浏览框_开奖"),
            "http://video.q.r:8080/assist/bonusvideo.aspx?lt=4");
  EXPECT_EQ(net::GetUrlCookies("http://video.q.r"), "");

  net::ProcessCookieStore().SetCookie("http://video.q.r", "s", "3");
  window.Click("按钮_开奖刷新江西");
  EXPECT_EQ(window.Address("超文本浏览框_开奖"), "http://video.q.r:8080/jxssc/");
  EXPECT_EQ(net::GetUrlCookies("http://video.q.r"), "");
  // The browser's own jar is cleared for the site too, once per click.
  using Clearing = ui::MemoryWindow::CookieClearing;
  EXPECT_EQ(window.CookieClearings(), (std::vector<Clearing>{{"超文本浏览框_开奖", "video.q.r"},
                                                             {"超文本浏览框_开奖", "video.q.r"}}));
}

TEST_F(DrawVideoTest, DefaultSiteIsTheLocalMirror) {
  window.Click("按钮_开奖刷新江西");
  EXPECT_EQ(window.Address("超文本浏览框_开奖"), "http://127.0.0.1:18733/jxssc/");
}

}  // namespace
