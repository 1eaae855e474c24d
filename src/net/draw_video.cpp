#include "net/draw_video.h"

#include "lottery/draw_sources.h"
#include "net/cookie_store.h"
#include "net/url_text.h"

namespace net {

std::string DrawVideoUrl(const std::string& videoBase, DrawVideoPage page) {
  return videoBase +
         (page == DrawVideoPage::Chongqing ? "/assist/bonusvideo.aspx?lt=4" : "/jxssc/");
}

void ShowDrawVideo(const core::Env& context, DrawVideoPage page) {
  const std::string url = DrawVideoUrl(lottery::LoadDrawSources(context.dataDir).video, page);
  // The page is loaded whether the cookies went or not. The embedded browser
  // keeps a jar of its own: the site's cookies go there too.
  ClearUrlCookies(url);
  context.window.ClearBrowserCookies("超文本浏览框_开奖", UrlHost(url));
  context.window.Navigate("超文本浏览框_开奖", url);
}

void BindDrawVideoHandlers(const core::Env& context) {
  ui::Window& window = context.window;
  window.Bind("按钮_开奖刷新重庆", ui::Event::Click,
              [&context](int) { ShowDrawVideo(context, DrawVideoPage::Chongqing); });
  window.Bind("按钮_开奖刷新江西", ui::Event::Click,
              [&context](int) { ShowDrawVideo(context, DrawVideoPage::Jiangxi); });
}

}  // namespace net
