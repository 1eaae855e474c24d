#include "draws/feed_fetch.h"

#include "net/cookie_store.h"
#include "net/web_access.h"

namespace draws {

std::string FeedUrl(const lottery::DrawSources& sources, const lottery::SourcePages& pages,
                    Feed feed) {
  return feed == Feed::First ? sources.feed1 + pages.firstFeed : sources.feed2 + pages.secondFeed;
}

std::string FetchFeed(ui::Window& window, const std::string& url, int timeoutSeconds) {
  net::ClearUrlCookies(url);
  net::WebRequest request;
  request.url = url;
  request.timeoutSeconds = timeoutSeconds;
  return net::WebAccess(request, &window).body;
}

}  // namespace draws
